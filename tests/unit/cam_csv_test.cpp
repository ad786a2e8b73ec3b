// Exchange files: CSV as RFC 4180 writes it and as spreadsheets save it, the UTF-8 that CSV and JSON
// carry for the program's Windows-1252 text, a program as a CSV table and back, and as JSON.
#include "core/exchange/cam_csv.h"
#include "core/camfile/cam_file.h"
#include "core/editor/phase_list.h"
#include "core/exchange/cam_json.h"
#include "core/exchange/csv.h"
#include "core/exchange/utf8_text.h"
#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

namespace {

using cam::Program;
using Lines = std::vector<std::string>;
using Ints = std::vector<int>;
using Fields = std::vector<std::string>;

std::vector<Fields> FieldsOf(const cam::CsvTable& t) {
    std::vector<Fields> out;
    for (const auto& r : t.records) out.push_back(r.fields);
    return out;
}

TEST(Csv, ReadsQuotedFieldsDoubledQuotesAndLineEndsInsideQuotes) {
    const cam::CsvTable t = cam::ReadCsv("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",,x\r\nlast,row");
    EXPECT_EQ(FieldsOf(t),
              (std::vector<Fields>{{"a", "b,c", "say \"hi\""}, {"two\r\nlines", "", "x"}, {"last", "row"}}));
    // Each record knows the line it starts on; a line end inside quotes counts.
    EXPECT_EQ((Ints{t.records[1].line, t.records[2].line, t.unclosedQuoteLine, t.separator}), (Ints{2, 4, 0, ','}));
}

TEST(Csv, TakesSpreadsheetLineEndsAndSeparatorsAndTellsAQuoteLeftOpen) {
    EXPECT_EQ(FieldsOf(cam::ReadCsv("a,b\nc,d\n")), (std::vector<Fields>{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(FieldsOf(cam::ReadCsv("a,b\rc,d")), (std::vector<Fields>{{"a", "b"}, {"c", "d"}}));
    // A semicolon separates when the first line has semicolons and no comma.
    const cam::CsvTable semi = cam::ReadCsv("size;cam;remark\r\n1;2;\"a;b, c\"\r\n");
    EXPECT_EQ(semi.separator, ';');
    EXPECT_EQ(FieldsOf(semi), (std::vector<Fields>{{"size", "cam", "remark"}, {"1", "2", "a;b, c"}}));
    // An empty line is a record of one empty field; a row of empty fields is blank too.
    const cam::CsvTable blank = cam::ReadCsv("a\r\n\r\n,, ,\r\nb\r\n");
    EXPECT_EQ(FieldsOf(blank), (std::vector<Fields>{{"a"}, {""}, {"", "", " ", ""}, {"b"}}));
    EXPECT_EQ(
        (Ints{blank.records[1].blank(), blank.records[2].blank(), blank.records[3].blank(), blank.records[3].line}),
        (Ints{1, 1, 0, 4}));
    // Text after a closing quote stays, as spreadsheets keep it.
    EXPECT_EQ(FieldsOf(cam::ReadCsv("\"ab\"c,d")), (std::vector<Fields>{{"abc", "d"}}));
    EXPECT_TRUE(cam::ReadCsv("").records.empty());
    // A quote left open runs to the end; its line is told.
    const cam::CsvTable open = cam::ReadCsv("a,b\r\nc,\"d\r\ne,f\r\n");
    EXPECT_EQ(open.unclosedQuoteLine, 2);
    EXPECT_EQ(FieldsOf(open), (std::vector<Fields>{{"a", "b"}, {"c", "d\r\ne,f\r\n"}}));
}

TEST(Csv, WritesFieldsQuotedOnlyWhereTheyMustBe) {
    EXPECT_EQ(cam::CsvRow({"1", "MAIN KNIFE", "", "100"}), "1,MAIN KNIFE,,100\r\n");
    EXPECT_EQ(cam::CsvRow({"a,b", "say \"hi\"", " lead", "trail ", "x;y", "two\nlines"}),
              "\"a,b\",\"say \"\"hi\"\"\",\" lead\",\"trail \",\"x;y\",\"two\nlines\"\r\n");
    // What is written reads back as it was.
    const Fields odd = {"", "\"", ",", "a\r\nb", " ", "plain"};
    EXPECT_EQ(cam::ReadCsv(cam::CsvRow(odd)).records.at(0).fields, odd);
}

TEST(Utf8Text, EveryWindows1252ByteSurvivesUtf8AndWhatHasNoByteIsRefused) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cam::Cp1252ToUtf8(all);
    EXPECT_EQ(std::tuple(cam::IsUtf8(utf8), cam::Utf8ToCp1252(utf8)), std::tuple(true, all));
    // Bytes written out: the euro sign, e acute, the degree sign.
    EXPECT_EQ(cam::Cp1252ToUtf8("\x80\xE9\xB0"), "\xE2\x82\xAC\xC3\xA9\xC2\xB0");
    EXPECT_EQ(cam::Utf8ToCp1252("\xE2\x82\xAC\xC3\xA9"), "\x80\xE9");
    // Windows-1252, an overlong "/", a surrogate, cut short.
    for (const char* bad : {"\xE9t\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82"}) EXPECT_FALSE(cam::IsUtf8(bad)) << bad;
    EXPECT_EQ(cam::Utf8ToCp1252("\xE2\x86\x92"), std::nullopt);  // an arrow: no byte for it
    EXPECT_EQ((Lines{cam::ShownAsCp1252("a\xE2\x86\x92\xC3\xA9"), cam::ShownAsCp1252("\xE9t\xE9")}),
              (Lines{"a?\xE9", "\xE9t\xE9"}));
}

Program Small() { return camtest::MakeExportSample(32); }

// The functions block as exported: each setting and its value in the last two columns.
std::string SettingRows(std::initializer_list<const char*> rows) {
    std::string out;
    for (const char* row : rows) out += std::string(",,,,,") + row + "\r\n";
    return out;
}

const std::string kSmallCsv =
    "size,cam,remark,on,off,setting,value\r\n"
    "1,1,\"Feed, \"\"hot\"\"\",100,300,,\r\n"
    "1,1,\"Feed, \"\"hot\"\"\",600,700,,\r\n"
    "1,3,,1000,24,,\r\n"
    "1,10,SPARE,,,,\r\n"
    "2,1,\"Feed, \"\"hot\"\"\",0,1024,,\r\n" +
    SettingRows({"cams,32", "sizes,2", "encoders,1", "advances,on", "advance cam 1,12", "advance cam 2,0", "delays,off",
                 "ratio,on", "ratio cams 25-32,7", "output size,1", "shift encoder 1,90", "direction encoder 1,1",
                 "speed limit,1500"});

Lines Listed(const Program& p, int size, int cam) { return cam::PhaseListEntries(p, size, cam); }

TEST(CamCsv, ExportsOneRowPerPhaseThenTheFunctionsBlock) {
    EXPECT_EQ(cam::CamCsvText(Small()), kSmallCsv);
    // Several encoders: the group advances and the other encoders instead of delays and ratio.
    Program p = camtest::MakeProgram(16, 1, 2);
    std::tie(p.AdvMs[8], p.EncShift2, p.RotDir2) = std::tuple(150, 1000, 1);
    EXPECT_EQ(cam::CamCsvText(p),
              "size,cam,remark,on,off,setting,value\r\n" +
                  SettingRows({"cams,16", "sizes,1", "encoders,2", "advances,off", "advance cams 17-20,150",
                               "advance cams 21-24,0", "advance cams 25-28,0", "advance cams 29-32,0",
                               "shift encoder 2,1000", "direction encoder 2,1", "output size,0", "shift encoder 1,0",
                               "direction encoder 1,0", "speed limit,0"}));
}

TEST(CamCsv, CamFileToCsvAndBackIsByteForByteTheSame) {
    for (const std::string file :
         {"/resources/samples/demo.Cam", "/tests/e2e/data/one_encoder.Cam", "/tests/e2e/data/two_encoders.Cam",
          "/tests/e2e/data/three_encoders.Cam", "/tests/e2e/data/sixteen_cams.Cam"}) {
        const std::string path = CAMDESK_SOURCE_DIR + file;
        const auto model = cam::HeaderModel(path);
        ASSERT_TRUE(model) << file;
        Program read = camtest::MakeProgram(model->NCams, model->NSizes);
        cam::ScriptedPrompt prompt;
        ASSERT_EQ(cam::ReadCamFile(read, path, prompt), cam::CamFileRead::Complete) << file;
        const std::string bytes = cam::ReadFileBytes(path, 1 << 20).bytes;
        EXPECT_EQ(std::tuple(prompt.asked().size(), cam::CamFileText(read)), std::tuple(0u, bytes)) << file;
        Program back;
        const cam::CsvImport r = cam::ImportCamCsv(back, cam::CamCsvText(read));
        EXPECT_EQ(std::tuple(r.refusals, r.notes, cam::CamFileText(back)), std::tuple(Lines{}, Lines{}, bytes)) << file;
    }
    // Whatever a cam file holds: remarks a spreadsheet would take for formulas, longer than the
    // remark box takes, with control characters; values beyond what the device takes.
    Program p = Small();
    // clang-format off
    const Lines remarks = {"=HYPERLINK(\"x\")", "+1", "-", "@SUM(A1)", "'=quoted", "''+twice", "'plain",
                           "a remark longer than twenty characters", "tab\there", "\x01\x7F\x81 \"q\" \r"};
    // clang-format on
    for (std::size_t c = 0; c < remarks.size(); ++c) {
        p.CamRemark[c] = remarks[c];
        cam::SetPhase(p, 1, static_cast<int>(c), 10, 20);
    }
    std::tie(p.AdvMs[0], p.Ratio25_32, p.EncShift, p.SpeedLimit) = std::tuple(255, 200, -5, 32767);
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
        ",,,,,\nsetting,value,,,,\ncams,32,,,,\nsizes,2,,,,\n"
        "ratio,on,,,,\nratio cams 25-32,7,,,,\nspeed limit,1500,,,,\n";
    Program p;
    const cam::CsvImport r = cam::ImportCamCsv(p, edited);
    ASSERT_TRUE(r.ok()) << r.refusals.front();
    EXPECT_TRUE(r.notes.empty());
    EXPECT_EQ((Ints{r.phases, p.NCams, p.NSizes, p.NEncoders, p.RatioOn, p.Ratio25_32, p.SpeedLimit, p.AdvOn}),
              (Ints{4, 32, 2, 1, 1, 7, 1500, 0}));
    EXPECT_EQ((std::vector<Lines>{Listed(p, 1, 0), Listed(p, 1, 2), Listed(p, 2, 3)}),
              (std::vector<Lines>{{"F001 0150 0350", "F002 0600 0700"}, {"F001 1000 0024"}, {"F001 0005 0006"}}));
    EXPECT_EQ((Lines{p.CamRemark[0], p.CamRemark[3], p.CamRemark[9]}), (Lines{"Feed, \"hot\"", "NEW", "SPARE"}));
}

TEST(CamCsv, EveryBadRowOrHeaderIsRefusedWithItsLineAndNothingIsImported) {
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
    EXPECT_EQ(std::tuple(many.refusals.size(), many.unlistedRefusals, many.refusals.back()),
              std::tuple(1000u, 500u, "line 1001: size cannot be \"x\" (it takes 1..7)"));
    // A table without its header, or with a quote left open, is refused.
    const std::string noHeader = ": the first row must name the columns size, cam, remark, on and off";
    for (auto [table, refusal] : std::vector<std::pair<std::string, std::string>>{
             {"", "line 1" + noHeader},
             {"\n1,1,,100,200\n", "line 2" + noHeader},
             {"size,cam,remark,on,off\n1,1,\"open,1,2\n1,2,,3,4\n", "line 2: a quoted field is not closed"}})
        EXPECT_EQ(cam::ImportCamCsv(p, table).refusals, Lines{refusal}) << table;
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
    EXPECT_EQ((std::vector<Lines>{Listed(p, 1, 0), Listed(p, 1, 1), Listed(p, 1, 2)}),
              (std::vector<Lines>{{"F001 0250 0400"}, {}, {"F001 0900 0000"}}));
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
    EXPECT_EQ(std::tuple(p.NCams, p.NSizes, Listed(p, 12, 15)), std::tuple(16, 15, Lines{"F001 0001 0002"}));
    EXPECT_EQ(cam::ImportCamCsv(p, semi, cam::ModelCounts{32, 7}).refusals,
              (Lines{"line 2: size cannot be \"12\" (it takes 1..7)"}));
    ASSERT_TRUE(cam::ImportCamCsv(p, "size,cam,remark,on,off\r\n").ok());
    EXPECT_EQ((Ints{p.NCams, p.NSizes}), (Ints{32, 7}));
}

TEST(CamJson, HoldsTheModelTheFunctionsBlockRemarksAndEveryPhaseInEscapedUtf8) {
    cam::Program p = camtest::MakeExportSample(16);
    EXPECT_EQ(cam::CamJsonText(p),
              "{\n  \"format\": \"camdesk program\",\n  \"version\": 1,\n"
              "  \"model\": {\"cams\": 16, \"sizes\": 2, \"encoders\": 1},\n"
              "  \"functions\": {\n    \"advances\": {\"on\": true, \"ms\": [12, 0]},\n"
              "    \"group_advances_ms\": {\"17-20\": 0, \"21-24\": 0},\n"
              "    \"delays\": {\"on\": false, \"17-20\": 0, \"21-24\": 0},\n"
              "    \"ratio\": {\"on\": true, \"25-32\": 7, \"17-32_on\": false},\n"
              "    \"output_size\": 1,\n"
              "    \"encoders\": [{\"shift\": 90, \"direction\": 1}, {\"shift\": 0, \"direction\": 0}, "
              "{\"shift\": 0, \"direction\": 0}],\n"
              "    \"speed_limit\": 1500\n  },\n"
              "  \"remarks\": [\"Feed, \\\"hot\\\"\", \"\", \"\", \"\", \"\", \"\", \"\", \"\", \"\", \"SPARE\", \"\", "
              "\"\", \"\", \"\", \"\", \"\"],\n"
              "  \"sizes\": [\n    {\"size\": 1, \"cams\": [\n"
              "      {\"cam\": 1, \"remark\": \"Feed, \\\"hot\\\"\", \"phases\": [[100, 300], [600, 700]]},\n"
              "      {\"cam\": 3, \"remark\": \"\", \"phases\": [[1000, 24]]}\n"
              "    ]},\n    {\"size\": 2, \"cams\": [\n"
              "      {\"cam\": 1, \"remark\": \"Feed, \\\"hot\\\"\", \"phases\": [[0, 1024]]}\n"
              "    ]}\n  ]\n}\n");
    // A size without phases is an empty list.
    cam::ClearSize(p, 2);
    EXPECT_NE(cam::CamJsonText(p).find("    {\"size\": 2, \"cams\": []}\n  ]\n}\n"), std::string::npos);
    // Strings are UTF-8 with the escapes JSON requires.
    EXPECT_EQ((Lines{cam::JsonString("a\"b\\c"), cam::JsonString("\t\x01\x7F"), cam::JsonString("\xB0 C \x80")}),
              (Lines{"\"a\\\"b\\\\c\"", "\"\\u0009\\u0001\\u007f\"", "\"\xC2\xB0 C \xE2\x82\xAC\""}));
}

}  // namespace
