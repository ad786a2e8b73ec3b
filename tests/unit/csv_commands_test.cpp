// File > Export CSV... and Import CSV... on the tables, through a scripted prompt.
#include "core/exchange/csv_commands.h"
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "core/editor/phase_list.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using cam::Answer;
using cam::Program;

struct CsvCommands : ::testing::Test {
    camtest::ScratchFolder dir;
    cam::ScriptedPrompt prompt;
    Program p = camtest::MakeProgram(32, 7, 1);
    std::optional<cam::CamDocument> doc;
    void SetUp() override {
        p.WorkDir = dir.str();
        cam::SetPhase(p, 2, 4, 100, 200);
        p.CamRemark[4] = "KNIFE";
        doc.emplace(p);  // the file as it was read
    }
};

TEST_F(CsvCommands, ExportWritesTheTablesAndAddsTheExtension) {
    p.CamFile = dir.file("demo.Cam");
    prompt.push(dir.file("table"));
    ASSERT_TRUE(cam::ExportCsv(p, prompt));
    EXPECT_EQ(prompt.asked().front().text, "Export CSV");
    EXPECT_EQ(
        dir.read("table.csv").rfind("size,cam,remark,on,off,setting,value\r\n2,5,KNIFE,100,200,,\r\n,,,,,cams,", 0),
        0u);
    // The name completed here names a file that exists: asked first, kept on No.
    prompt.push(dir.file("table"));
    prompt.push(Answer::No);
    dir.write("table.csv", "keep");
    EXPECT_FALSE(cam::ExportCsv(p, prompt));
    EXPECT_EQ(prompt.messages().back(), dir.file("table.csv") + " already exists. Do you want to replace it?");
    EXPECT_EQ(dir.read("table.csv"), "keep");
    // Cancelled: nothing.
    prompt.push("");
    EXPECT_FALSE(cam::ExportCsv(p, prompt));
}

TEST_F(CsvCommands, ImportReplacesTheTablesWithAnUnsavedProgram) {
    p.CamFile = dir.file("demo.Cam");
    p.CamFileTitle = "demo.Cam";
    const std::string csv = dir.write("in.csv", "size,cam,remark,on,off\n3,1,PUSH,10,20\n1,1,,5,5\n");
    prompt.push(csv);
    const cam::FileOutcome out = cam::ImportCsv(p, *doc, prompt, "camdesk");
    EXPECT_TRUE(out.done);
    EXPECT_TRUE(out.redraw);
    EXPECT_EQ(cam::PhaseListEntries(p, 3, 0), std::vector<std::string>{"F001 0010 0020"});
    EXPECT_TRUE(cam::PhaseListEntries(p, 2, 4).empty());
    EXPECT_EQ(p.CamRemark[0], "PUSH");
    EXPECT_EQ(p.CamRemark[4], "");
    EXPECT_FALSE(doc->FileSaved());
    EXPECT_EQ(p.CamFile, "");               // a Save asks for a name
    EXPECT_EQ(doc->history().count(), 1u);  // a history of its own: nothing of the old program
    // The row that the phase rule made into a deletion is noted.
    EXPECT_EQ(prompt.messages().back(),
              "Imported from in.csv, with these notes:\rline 3: on and off are equal: as in typed entry, this removes "
              "the phase there");
}

TEST_F(CsvCommands, ARefusedTableLeavesTheTablesAsTheyWere) {
    const std::string before = cam::CamFileText(p);
    std::string rows = "size,cam,remark,on,off\n";
    for (int i = 0; i < 30; ++i) rows += "9,1,,1,2\n";
    prompt.push(dir.write("bad.csv", rows));
    EXPECT_FALSE(cam::ImportCsv(p, *doc, prompt, "camdesk").done);
    EXPECT_EQ(cam::CamFileText(p), before);
    EXPECT_TRUE(doc->FileSaved());
    const std::string shown = prompt.messages().back();
    EXPECT_EQ(shown.rfind("Nothing was imported from bad.csv: 30 row(s) refused.\rline 2: size cannot be \"9\" (it "
                          "takes 1..7)\r",
                          0),
              0u);
    EXPECT_NE(shown.find("\rline 26: "), std::string::npos);
    EXPECT_EQ(shown.find("\rline 27: "), std::string::npos);
    EXPECT_EQ(shown.substr(shown.find("\r... ")), "\r... and 5 more");
    // Unsaved work is asked about first; Cancel stops before the file dialog.
    doc->Edit(cam::EditScope::Remark(4), "remark", [](cam::CamData& d) { d.CamRemark[4] = "SAW"; });
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::ImportCsv(p, *doc, prompt, "camdesk").done);
    EXPECT_EQ(prompt.asked().back().kind, cam::ScriptedPrompt::Asked::Message);
}

}  // namespace
