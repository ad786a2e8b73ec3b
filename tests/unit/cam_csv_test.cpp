// A program as a CSV table and back: the exported bytes written out, cam -> CSV -> cam byte
// for byte for the shipped files, and the import of tables edited as a spreadsheet would.
#include "core/exchange/cam_csv.h"
#include "core/camfile/cam_file.h"
#include "core/editor/phase_list.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using cam::Program;
using Lines = std::vector<std::string>;
using Ints = std::vector<int>;

Program Small() { return camtest::MakeExportSample(32); }

const char* const kSmallCsv =
    "size,cam,remark,on,off,setting,value\r\n"
    "1,1,\"Feed, \"\"hot\"\"\",100,300,,\r\n"
    "1,1,\"Feed, \"\"hot\"\"\",600,700,,\r\n"
    "1,3,,1000,24,,\r\n"
    "1,10,SPARE,,,,\r\n"
    "2,1,\"Feed, \"\"hot\"\"\",0,1024,,\r\n"
    ",,,,,cams,32\r\n"
    ",,,,,sizes,2\r\n"
    ",,,,,encoders,1\r\n"
    ",,,,,advances,on\r\n"
    ",,,,,advance cam 1,12\r\n"
    ",,,,,advance cam 2,0\r\n"
    ",,,,,delays,off\r\n"
    ",,,,,ratio,on\r\n"
    ",,,,,ratio cams 25-32,7\r\n"
    ",,,,,output size,1\r\n"
    ",,,,,shift encoder 1,90\r\n"
    ",,,,,direction encoder 1,1\r\n"
    ",,,,,speed limit,1500\r\n";

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Lines Listed(const Program& p, int size, int cam) { return cam::PhaseListEntries(p, size, cam); }

TEST(CamCsv, ExportsOneRowPerPhaseThenTheFunctionsBlock) {
    EXPECT_EQ(cam::CamCsvText(Small()), kSmallCsv);
    // Several encoders: the group advances and the other encoders instead of delays and ratio.
    Program p = camtest::MakeProgram(16, 1, 2);
    p.AdvMs[8] = 150;
    p.EncShift2 = 1000;
    p.RotDir2 = 1;
    std::string settings;
    for (const char* row :
         {"cams,16", "sizes,1", "encoders,2", "advances,off", "advance cams 17-20,150", "advance cams 21-24,0",
          "advance cams 25-28,0", "advance cams 29-32,0", "shift encoder 2,1000", "direction encoder 2,1",
          "output size,0", "shift encoder 1,0", "direction encoder 1,0", "speed limit,0"})
        settings += std::string(",,,,,") + row + "\r\n";
    EXPECT_EQ(cam::CamCsvText(p), "size,cam,remark,on,off,setting,value\r\n" + settings);
}

TEST(CamCsv, CamFileToCsvAndBackIsByteForByteTheSame) {
    const std::string src = CAMDESK_SOURCE_DIR;
    for (const std::string file :
         {"/resources/samples/demo.Cam", "/tests/e2e/data/one_encoder.Cam", "/tests/e2e/data/two_encoders.Cam",
          "/tests/e2e/data/three_encoders.Cam", "/tests/e2e/data/sixteen_cams.Cam"}) {
        const std::string path = src + file;
        const auto model = cam::HeaderModel(path);
        ASSERT_TRUE(model) << file;
        Program read = camtest::MakeProgram(model->NCams, model->NSizes);
        cam::ScriptedPrompt prompt;
        ASSERT_EQ(cam::ReadCamFile(read, path, prompt), cam::CamFileRead::Complete) << file;
        EXPECT_TRUE(prompt.asked().empty()) << file;
        EXPECT_EQ(cam::CamFileText(read), Bytes(path)) << file;
        Program back;
        const cam::CsvImport r = cam::ImportCamCsv(back, cam::CamCsvText(read));
        EXPECT_TRUE(r.ok()) << file << ": " << r.refusals.front();
        EXPECT_TRUE(r.notes.empty()) << file;
        EXPECT_EQ(cam::CamFileText(back), Bytes(path)) << file;
    }
    // Whatever a cam file holds: remarks a spreadsheet would take for formulas, longer than the
    // remark box takes, with control characters; values beyond what the device takes.
    Program p = Small();
    const Lines remarks = {"=HYPERLINK(\"x\")",
                           "+1",
                           "-",
                           "@SUM(A1)",
                           "'=quoted",
                           "''+twice",
                           "'plain",
                           "a remark longer than twenty characters",
                           "tab\there",
                           "\x01\x7F\x81 \"q\" \r"};
    for (std::size_t c = 0; c < remarks.size(); ++c) {
        p.CamRemark[c] = remarks[c];
        cam::SetPhase(p, 1, static_cast<int>(c), 10, 20);
    }
    p.AdvMs[0] = 255;
    p.Ratio25_32 = 200;
    p.EncShift = -5;
    p.SpeedLimit = 32767;
    const std::string csv = cam::CamCsvText(p);
    for (const char* sheet : {"1,1,\"'=HYPERLINK(\"\"x\"\")\",", "1,2,'+1,", "1,3,'-,", "1,4,'@SUM(A1),",
                              "1,5,''=quoted,", "1,6,'''+twice,", "1,7,'plain,"})
        EXPECT_NE(csv.find(sheet), std::string::npos) << sheet;
    Program back;
    const cam::CsvImport r = cam::ImportCamCsv(back, csv);
    ASSERT_TRUE(r.ok()) << r.refusals.front();
    EXPECT_EQ(Lines(back.CamRemark.begin(), back.CamRemark.begin() + 10), remarks);
    EXPECT_EQ(cam::CamFileText(back), cam::CamFileText(p));
}

TEST(CamCsv, ImportsATableEditedAsASpreadsheetSavesIt) {
    // LF line ends, columns in another order, a shifted phase, a new row, quotes dropped where
    // they are not needed, the functions rows padded to the width of the sheet.
    const std::string edited =
        "cam,size,on,off,remark,note\n"
        "1,1,150,350,\"Feed, \"\"hot\"\"\",moved\n"
        "1,1,600,700,,\n"
        "3,1,1000,24,,\n"
        "10,1,,,SPARE,\n"
        "4,2,5,6,NEW,added\n"
        ",,,,,\n"
        "setting,value,,,,\n"
        "cams,32,,,,\n"
        "sizes,2,,,,\n"
        "ratio,on,,,,\n"
        "ratio cams 25-32,7,,,,\n"
        "speed limit,1500,,,,\n";
    Program p;
    const cam::CsvImport r = cam::ImportCamCsv(p, edited);
    ASSERT_TRUE(r.ok()) << r.refusals.front();
    EXPECT_TRUE(r.notes.empty());
    EXPECT_EQ(r.phases, 4);
    EXPECT_EQ((Ints{p.NCams, p.NSizes, p.NEncoders, p.RatioOn, p.Ratio25_32, p.SpeedLimit, p.AdvOn}),
              (Ints{32, 2, 1, 1, 7, 1500, 0}));
    EXPECT_EQ(Listed(p, 1, 0), (Lines{"F001 0150 0350", "F002 0600 0700"}));
    EXPECT_EQ(Listed(p, 1, 2), (Lines{"F001 1000 0024"}));
    EXPECT_EQ(Listed(p, 2, 3), (Lines{"F001 0005 0006"}));
    EXPECT_EQ((Lines{p.CamRemark[0], p.CamRemark[3], p.CamRemark[9]}), (Lines{"Feed, \"hot\"", "NEW", "SPARE"}));
}

TEST(CamCsv, EveryBadRowIsRefusedWithItsLineAndNothingIsImported) {
    const std::string table =
        "size,cam,remark,on,off\r\n"
        "1,1,A,100,200\r\n"
        "1,33,,5,6\r\n"       // 3: no cam 33
        "x,1,,5,6\r\n"        // 4: no size
        "1,2,,5,\r\n"         // 5: only on
        "1,2,,1024,1025\r\n"  // 6: outside the revolution
        "2,1,B,300,400\r\n"   // 7: another remark for cam 1
        "1,3,,x,2\r\n"        // 8: no number
        "8,1,,1,2\r\n"        // 9: no size 8 in 32 x 7
        "\r\n"
        "setting,value\r\n"
        "advances,maybe\r\n"  // 12
        "colour,red\r\n"      // 13
        "output size,3\r\n"
        "output size,4\r\n"        // 15
        "delay cams 17-20,5\r\n";  // 16: delays are off
    Program p = Small();
    const std::string before = cam::CamFileText(p);
    const cam::CsvImport r = cam::ImportCamCsv(p, table);
    EXPECT_EQ(r.refusals,
              (Lines{"line 3: cam cannot be \"33\" (it takes 1..32)", "line 4: size cannot be \"x\" (it takes 1..7)",
                     "line 5: on and off must both be given, or both be left empty",
                     "line 6: on cannot be \"1024\" (it takes 0..1023); off cannot be \"1025\" (it takes 0..1024)",
                     "line 7: the remark differs from the remark of the same cam on line 2",
                     "line 8: on cannot be \"x\" (it takes 0..1023)", "line 9: size cannot be \"8\" (it takes 1..7)",
                     "line 12: advances cannot be \"maybe\" (it takes on, off)",
                     "line 13: there is no setting \"colour\"", "line 15: the setting is given twice (line 14)",
                     "line 16: a cam file keeps this setting only with delays on"}));
    EXPECT_EQ(cam::CamFileText(p), before);
    // A table of nothing but bad rows costs a thousand listed reasons, the others are counted.
    std::string junk = "size,cam,on,off\r\n";
    for (int i = 0; i < 1500; ++i) junk += "x,1,1,2\r\n";
    const cam::CsvImport many = cam::ImportCamCsv(p, junk);
    EXPECT_EQ(many.refusals.size(), 1000u);
    EXPECT_EQ(many.unlistedRefusals, 500u);
    EXPECT_EQ(many.refusals.back(), "line 1001: size cannot be \"x\" (it takes 1..7)");
}

TEST(CamCsv, RowsThatThePhaseRuleChangesAreNoted) {
    Program p;
    const cam::CsvImport r = cam::ImportCamCsv(p,
                                               "size,cam,on,off\n"
                                               "1,1,100,300\n"
                                               "1,1,250,400\n"  // cuts the first back to 100-250
                                               "1,2,10,20\n"
                                               "1,2,15,15\n"       // removes 10-20, as typed entry does
                                               "1,3,900,1024\n");  // listed as 0900 0000, unchanged
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.notes, (Lines{"line 2: size 1, cam 1: phase 0100-0300 touches or overlaps a phase of another row and "
                              "was cut back, as in typed entry",
                              "line 4: size 1, cam 2: phase 0010-0020 touches or overlaps a phase of another row and "
                              "was cut back, as in typed entry",
                              "line 5: on and off are equal: as in typed entry, this removes the phase there"}));
    EXPECT_EQ(Listed(p, 1, 0), (Lines{"F001 0250 0400"}));
    EXPECT_TRUE(Listed(p, 1, 1).empty());
    EXPECT_EQ(Listed(p, 1, 2), (Lines{"F001 0900 0000"}));
}

TEST(CamCsv, RemarksComeInUtf8OrWindows1252AndMustFitACamFileLine) {
    Program p;
    ASSERT_TRUE(cam::ImportCamCsv(p, "size,cam,remark,on,off\n1,1,Caf\xC3\xA9 \xE2\x82\xAC,1,2\n").ok());
    EXPECT_EQ(p.CamRemark[0], "Caf\xE9 \x80");
    // Not UTF-8: the bytes are the program's own code page.
    ASSERT_TRUE(cam::ImportCamCsv(p, "size,cam,remark,on,off\n1,1,Caf\xE9,1,2\n").ok());
    EXPECT_EQ(p.CamRemark[0], "Caf\xE9");
    for (const char* remark : {"A\xE2\x86\x92", "\"two\nlines\""})  // an arrow, a line end
        EXPECT_EQ(cam::ImportCamCsv(p, std::string("size,cam,remark,on,off\n1,1,") + remark + ",1,2\n").refusals,
                  (Lines{"line 2: the remark holds a character that a cam file cannot hold"}))
            << remark;
}

TEST(CamCsv, TheModelComesFromTheOptionElseTheTableElse32x7) {
    Program p;
    // A byte order mark and semicolons, as some spreadsheets save.
    const std::string semi =
        "\xEF\xBB\xBFsize;cam;remark;on;off\r\n12;16;;1;2\r\n\r\nsetting;value\r\ncams;16\r\nsizes;15\r\n";
    ASSERT_TRUE(cam::ImportCamCsv(p, semi).ok());
    EXPECT_EQ((Ints{p.NCams, p.NSizes}), (Ints{16, 15}));
    EXPECT_EQ(Listed(p, 12, 15), (Lines{"F001 0001 0002"}));
    const cam::CsvImport small = cam::ImportCamCsv(p, semi, cam::ModelCounts{32, 7});
    EXPECT_EQ(small.refusals, (Lines{"line 2: size cannot be \"12\" (it takes 1..7)"}));
    ASSERT_TRUE(cam::ImportCamCsv(p, "size,cam,remark,on,off\r\n").ok());
    EXPECT_EQ((Ints{p.NCams, p.NSizes}), (Ints{32, 7}));
}

TEST(CamCsv, ATableWithoutItsHeaderOrWithAnOpenQuoteIsRefused) {
    Program p;
    const std::string noHeader = ": the first row must name the columns size, cam, remark, on and off";
    for (auto [table, refusal] : std::vector<std::pair<std::string, std::string>>{
             {"", "line 1" + noHeader},
             {"\n1,1,,100,200\n", "line 2" + noHeader},
             {"size,cam,remark,on,off\n1,1,\"open,1,2\n1,2,,3,4\n", "line 2: a quoted field is not closed"}})
        EXPECT_EQ(cam::ImportCamCsv(p, table).refusals, Lines{refusal}) << table;
}

}  // namespace
