// The File menu commands over real files in a scratch folder: New, Open, Save and the rest on cam
// files, Export CSV... and Import CSV... on the tables.
#include "core/camfile/file_commands.h"

#include "core/camfile/cam_file.h"
#include "core/editor/phase_list.h"
#include "core/exchange/csv_commands.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using cam::Answer;
using Lines = std::vector<std::string>;
using Flags = std::vector<bool>;

struct CountingChooser : cam::ModelChooser {
    void chooseModel(cam::Program& p) override {
        ++calls;
        cam::ResizeTables(p);
    }
    int calls = 0;
};

cam::Program Model() {
    cam::Program p = camtest::MakeProgram();
    std::tie(p.LngTxt[1], p.LngTxt[11], p.LngTxt[33], p.LngTxt[109], p.LngTxt[112]) =
        std::tuple("File not found", "Open file", "CAM PROGRAMMER ", "Save cam file as",
                   "The sizes have unsaved changes. Save them?");
    return p;
}

bool HasPhase(const cam::Program& p) { return p.CamPos(1, 2, 150) == 1; }

struct FileCommands : ::testing::Test {
    // A cam file holding the phase 100-200 on cam 3 of size 1.
    std::string CamFileWithPhase(const std::string& name) {
        cam::Program q = camtest::MakeProgram();
        cam::SetPhase(q, 1, 2, 100, 200);
        q.CamRemark[2] = "saw";
        const std::string path = dir.file(name);
        EXPECT_EQ(cam::WriteCamFile(q, path).reason(), "");
        return path;
    }
    // An edit through the document: the phase 5-10 on cam 1 of the size.
    void Edit(int size = 1) {
        doc.Edit(cam::EditScope::Cam(size, 0), "edit", [&](cam::CamData& d) { cam::SetPhase(d, size, 0, 5, 10); });
    }

    camtest::ScratchFolder dir;
    cam::Program p = Model();
    cam::CamDocument doc{p};
    cam::ScriptedPrompt prompt;
    CountingChooser chooser;
};

TEST_F(FileCommands, FileNameAndWindowTitles) {
    EXPECT_EQ((Lines{cam::FileTitle("/home/op/dies.v2/press.Cam"), cam::FileTitle("C:\\Zeto\\press.Cam"),
                     cam::FileTitle("press")}),
              (Lines{"press.Cam", "press.Cam", "press"}));
    EXPECT_EQ(cam::ActivationTitle(p), "CAM PROGRAMMER 1024 32C-07F  255-Msg ");
    std::tie(p.NCams, p.NSizes, p.NMsgs, p.CamFile) = std::tuple(16, 60, 180, "/w/a.Cam");
    EXPECT_EQ((Lines{cam::ActivationTitle(p), cam::OpenedTitle(p)}),
              (Lines{"CAM PROGRAMMER 1024 16C-60F  180-Msg ", "CAM PROGRAMMER 1024 16C-60  [/w/a.Cam]"}));
}

TEST(RecentList, AListedFileMovesToTheTopAndTheOthersMoveDown) {
    cam::Program p;
    std::tie(p.RecentFiles, p.CamFile) = std::tuple(Lines{"1", "2", "3", "4", "5"}, "3");
    cam::UpdateRecentList(p);
    EXPECT_EQ(std::tuple(p.RecentFiles, cam::RecentCaption(p, 2)), std::tuple(Lines{"3", "1", "2", "4", "5"}, "&2 1"));
    p.CamFile = "6";
    cam::UpdateRecentList(p);
    EXPECT_EQ(std::tuple(p.RecentFiles, cam::RecentCaption(p, 6)), std::tuple(Lines{"6", "3", "1", "2", "4"}, ""));
}

TEST_F(FileCommands, OpenAsksAboutUnsavedChangesThenReadsTheChosenFileWhichSaveWritesBack) {
    const std::string path = CamFileWithPhase("press.Cam");
    Edit(2);
    p.CamFile = "/old.Cam";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::Open(p, doc, prompt, "Main title").done);
    ASSERT_EQ(prompt.asked().size(), 1u);  // no file dialog after Cancel
    const auto q = prompt.asked()[0];
    EXPECT_EQ(std::tie(q.text, q.title, q.buttons, q.icon),
              std::tuple("The sizes have unsaved changes. Save them?", "Main title", cam::Buttons::OkCancel,
                         cam::Icon::Exclamation));
    EXPECT_EQ((std::vector<int>{p.CamPos(2, 0, 7), doc.FileSaved()}), (std::vector<int>{1, 0}));
    prompt.push(Answer::Ok, "");  // the dialog cancelled: the open file stays the one a Save writes
    EXPECT_FALSE(cam::Open(p, doc, prompt, "Main title").done);
    EXPECT_EQ(std::tie(p.CamFile, prompt.asked()[2].kind, prompt.asked()[2].title),
              std::tuple("/old.Cam", cam::ScriptedPrompt::Asked::OpenFile, "Open file"));
    prompt.push(Answer::Ok, path);
    const cam::FileOutcome out = cam::Open(p, doc, prompt, "Main title");
    EXPECT_EQ((std::vector<int>{out.done, HasPhase(p), p.CamPos(2, 0, 7), doc.FileSaved()}),
              (std::vector<int>{1, 1, 0, 1}));
    EXPECT_EQ(std::tie(p.CamRemark[2], p.CamFileTitle, out.title, p.RecentFiles),
              std::tuple("saw", "press.Cam", "CAM PROGRAMMER 1024 32C-07  [" + path + "]", Lines{path}));
    // Saved right away, the file is written back without a dialog.
    const std::string before = dir.read("press.Cam");
    prompt.clear();
    dir.write("press.Cam", "stale");  // Save must replace it
    EXPECT_TRUE(cam::Save(p, doc, prompt));
    EXPECT_EQ(std::tuple(prompt.asked().size(), dir.read("press.Cam")), std::tuple(0u, before));
}

TEST_F(FileCommands, NewAsksAboutUnsavedChangesAndOkShowsTheModelWindow) {
    Edit();
    p.CamFile = "/old.Cam";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::New(p, doc, prompt, chooser, "T").done);
    EXPECT_EQ((std::vector<int>{chooser.calls, p.CamPos(1, 0, 7)}), (std::vector<int>{0, 1}));
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::New(p, doc, prompt, chooser, "T").done);
    EXPECT_EQ(std::tie(chooser.calls, p.CamPos(1, 0, 7), p.CamFile), std::tuple(1, 0, ""));
}

// After the question about unsaved changes a missing file is reported before anything is
// cleared; a file that is there comes after the model window.
TEST_F(FileCommands, OpenRecentChecksTheFileBeforeTheModelWindow) {
    const std::string path = CamFileWithPhase("press.Cam");
    p.RecentFiles = {"/nowhere/gone.Cam", path};
    Edit();
    prompt.push(Answer::Ok);
    EXPECT_FALSE(cam::OpenRecent(p, doc, prompt, chooser, 1, "T").done);
    EXPECT_EQ((std::vector<int>{chooser.calls, p.CamPos(1, 0, 7)}), (std::vector<int>{0, 1}));
    EXPECT_EQ(prompt.messages().back(), "File not found:\r/nowhere/gone.Cam");
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::OpenRecent(p, doc, prompt, chooser, 2, "T").done);
    EXPECT_EQ((std::vector<int>{chooser.calls, HasPhase(p), doc.FileSaved()}), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(p.RecentFiles, (Lines{path, "/nowhere/gone.Cam"}));
    EXPECT_FALSE(cam::OpenRecent(p, doc, prompt, chooser, 3, "T").done);  // no such item
}

TEST_F(FileCommands, OpenDroppedOpensTheLastFileAfterTheQuestion) {
    const Lines dropped = {CamFileWithPhase("a.Cam"), CamFileWithPhase("b.Cam")};
    Edit();
    prompt.push(Answer::Cancel);
    EXPECT_EQ((Flags{cam::OpenDropped(p, doc, prompt, dropped, "T").done, HasPhase(p)}), (Flags{false, false}));
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::OpenDropped(p, doc, prompt, dropped, "T").done);
    EXPECT_EQ(std::tuple(p.CamFile, doc.FileSaved()), std::tuple(dropped[1], true));
}

TEST_F(FileCommands, OpenCommandLineTakesTheQuotesOffAndAMissingFileKeepsTheTables) {
    const std::string path = CamFileWithPhase("with blank.Cam");
    EXPECT_TRUE(cam::OpenCommandLine(p, doc, prompt, "\"" + path + "\"").done);
    EXPECT_EQ(std::tuple(p.CamFile, HasPhase(p)), std::tuple(path, true));
    // Something that is there but no file is named for what it is.
    fs::create_directory(dir.file("folder.Cam"));
    EXPECT_EQ((Flags{cam::OpenCommandLine(p, doc, prompt, dir.file("missing.Cam")).done,
                     cam::OpenCommandLine(p, doc, prompt, dir.file("folder.Cam")).done, HasPhase(p)}),
              (Flags{false, false, true}));
    EXPECT_EQ(prompt.messages(), (Lines{"File not found:\r" + dir.file("missing.Cam"),
                                        dir.file("folder.Cam") + ": is a folder, not a file"}));
}

// What a cam file cannot keep is told before the save: Cancel writes nothing.
TEST_F(FileCommands, SaveTellsTheRatioOfCams17To32BeforeItIsLeftOut) {
    p.CamFile = CamFileWithPhase("r.Cam");
    const std::string before = dir.read("r.Cam");
    doc.Edit(cam::EditScope::Functions(), "functions",
             [](cam::CamData& d) { std::tie(d.Ratio17On, d.OutSize) = std::tuple(1, 4); });
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::Save(p, doc, prompt));
    EXPECT_EQ(std::tuple(dir.read("r.Cam"), doc.FileSaved()), std::tuple(before, false));
    EXPECT_EQ(prompt.messages(),
              Lines{"A cam file has no place for the ratio of cams 17-32 (1/0): it is not kept in the file.\r"
                    "Save anyway?"});
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::Save(p, doc, prompt));
    EXPECT_NE(dir.read("r.Cam"), before);
}

TEST_F(FileCommands, SaveAsGivesANameWithoutADotCamAndReplacesAFileOnlyAfterYes) {
    fs::create_directory(dir.file("dies.v2"));
    const std::string existing = dir.write("dies.v2/press.Cam", "keep me");
    Edit();
    p.CamFile = "/before.Cam";
    prompt.push(dir.file("dies.v2/press"), Answer::No);
    EXPECT_FALSE(cam::SaveAs(p, doc, prompt));
    EXPECT_EQ(std::tuple(dir.read("dies.v2/press.Cam"), doc.FileSaved(), p.CamFile),
              std::tuple("keep me", false, "/before.Cam"));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_NE(prompt.messages()[0].find(existing), std::string::npos);
    EXPECT_EQ(std::tie(prompt.asked()[0].title, prompt.asked()[1].buttons),
              std::tuple("Save cam file as", cam::Buttons::YesNo));
    prompt.push(dir.file("dies.v2/press"), Answer::Yes);
    EXPECT_TRUE(cam::SaveAs(p, doc, prompt));
    EXPECT_EQ(std::tuple(p.CamFile, dir.read("dies.v2/press.Cam").substr(0, 8), doc.FileSaved()),
              std::tuple(existing, "FUNZIONI", true));
    prompt.push(dir.file("dies.v2/other.txt"));
    EXPECT_EQ((Flags{cam::SaveAs(p, doc, prompt), fs::exists(dir.file("dies.v2/other.txt"))}), (Flags{true, true}));
}

// Closing with unsaved data: No closes, Cancel stays, Yes closes only when the save succeeded.
TEST_F(FileCommands, QueryCloseClosesOnlyWhenNothingIsLost) {
    EXPECT_EQ((Flags{cam::QueryClose(p, doc, prompt, "T"), prompt.asked().empty()}), (Flags{true, true}));
    Edit();
    prompt.push(Answer::No);
    EXPECT_TRUE(cam::QueryClose(p, doc, prompt, "T"));
    EXPECT_EQ(std::tie(prompt.asked()[0].buttons, prompt.asked()[0].title), std::tuple(cam::Buttons::YesNoCancel, "T"));
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::QueryClose(p, doc, prompt, "T"));
    // No file yet: the save asks for a name; a failed write is shown with the file and its reason.
    const std::string target = dir.file("no such folder/x.Cam");
    prompt.push(Answer::Yes, target, Answer::Ok);
    EXPECT_EQ((Flags{cam::QueryClose(p, doc, prompt, "T"), doc.FileSaved()}), (Flags{false, false}));
    ASSERT_EQ(prompt.messages().size(), 4u);
    const std::string shown = prompt.messages()[3];
    EXPECT_THAT(shown, ::testing::HasSubstr(target));
    EXPECT_GT(shown.size(), target.size() + 30);  // carries a reason besides the name
    prompt.push(Answer::Yes, dir.file("x.Cam"));
    EXPECT_EQ((Flags{cam::QueryClose(p, doc, prompt, "T"), fs::exists(dir.file("x.Cam"))}), (Flags{true, true}));
}

// The tables of a file just read: a phase and a remark on cam 5.
struct CsvCommands : FileCommands {
    CsvCommands() {
        std::tie(p.WorkDir, p.CamRemark[4]) = std::tuple(dir.str(), "KNIFE");
        cam::SetPhase(p, 2, 4, 100, 200);
        doc.MarkSaved();
    }
};

TEST_F(CsvCommands, ExportWritesTheTablesAndAddsTheExtension) {
    p.CamFile = dir.file("demo.Cam");
    prompt.push(dir.file("table"));
    ASSERT_TRUE(cam::ExportCsv(p, prompt));
    EXPECT_EQ(prompt.asked().front().text, "Export CSV");
    EXPECT_THAT(dir.read("table.csv"),
                ::testing::StartsWith("size,cam,remark,on,off,setting,value\r\n2,5,KNIFE,100,200,,\r\n,,,,,cams,"));
    // The name completed here names a file that exists: asked first, kept on No.
    prompt.push(dir.file("table"), Answer::No);
    dir.write("table.csv", "keep");
    EXPECT_FALSE(cam::ExportCsv(p, prompt));
    EXPECT_EQ(std::tuple(prompt.messages().back(), dir.read("table.csv")),
              std::tuple(dir.file("table.csv") + " already exists. Do you want to replace it?", "keep"));
    // Cancelled: nothing.
    prompt.push("");
    EXPECT_FALSE(cam::ExportCsv(p, prompt));
}

TEST_F(CsvCommands, ImportReplacesTheTablesWithAnUnsavedProgram) {
    std::tie(p.CamFile, p.CamFileTitle) = std::tuple(dir.file("demo.Cam"), "demo.Cam");
    prompt.push(dir.write("in.csv", "size,cam,remark,on,off\n3,1,PUSH,10,20\n1,1,,5,5\n"));
    const cam::FileOutcome out = cam::ImportCsv(p, doc, prompt, "camdesk");
    EXPECT_EQ((std::vector<bool>{out.done, out.redraw, doc.FileSaved()}), (std::vector<bool>{true, true, false}));
    EXPECT_EQ((std::vector<Lines>{cam::PhaseListEntries(p, 3, 0), cam::PhaseListEntries(p, 2, 4)}),
              (std::vector<Lines>{{"F001 0010 0020"}, {}}));
    // No file name: a Save asks for one; a history of its own: nothing of the old program.
    EXPECT_EQ(std::tuple(p.CamRemark[0], p.CamRemark[4], p.CamFile, doc.history().count()),
              std::tuple("PUSH", "", "", 1u));
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
    EXPECT_FALSE(cam::ImportCsv(p, doc, prompt, "camdesk").done);
    EXPECT_EQ(std::tuple(cam::CamFileText(p), doc.FileSaved()), std::tuple(before, true));
    const std::string shown = prompt.messages().back();
    EXPECT_THAT(shown, ::testing::StartsWith("Nothing was imported from bad.csv: 30 row(s) refused.\rline 2: size "
                                             "cannot be \"9\" (it takes 1..7)\r"));
    EXPECT_NE(shown.find("\rline 26: "), std::string::npos);
    EXPECT_EQ(shown.find("\rline 27: "), std::string::npos);
    EXPECT_EQ(shown.substr(shown.find("\r... ")), "\r... and 5 more");
    // Unsaved work is asked about first; Cancel stops before the file dialog.
    doc.Edit(cam::EditScope::Remark(4), "remark", [](cam::CamData& d) { d.CamRemark[4] = "SAW"; });
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::ImportCsv(p, doc, prompt, "camdesk").done);
    EXPECT_EQ(prompt.asked().back().kind, cam::ScriptedPrompt::Asked::Message);
}

}  // namespace
