// CSV as RFC 4180 writes it and as spreadsheets save it, and the UTF-8 that CSV and JSON
// files carry for the Windows-1252 text of the program.
#include "core/exchange/csv.h"
#include "core/exchange/utf8_text.h"

#include <gtest/gtest.h>

namespace {

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
    EXPECT_EQ(t.records[1].line, 2);
    EXPECT_EQ(t.records[2].line, 4);
    EXPECT_EQ(t.unclosedQuoteLine, 0);
    EXPECT_EQ(t.separator, ',');
}

TEST(Csv, TakesTheLineEndsAndSeparatorsThatSpreadsheetsWrite) {
    EXPECT_EQ(FieldsOf(cam::ReadCsv("a,b\nc,d\n")), (std::vector<Fields>{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(FieldsOf(cam::ReadCsv("a,b\rc,d")), (std::vector<Fields>{{"a", "b"}, {"c", "d"}}));
    // A semicolon separates when the first line has semicolons and no comma.
    const cam::CsvTable semi = cam::ReadCsv("size;cam;remark\r\n1;2;\"a;b, c\"\r\n");
    EXPECT_EQ(semi.separator, ';');
    EXPECT_EQ(FieldsOf(semi), (std::vector<Fields>{{"size", "cam", "remark"}, {"1", "2", "a;b, c"}}));
    // An empty line is a record of one empty field; a row of empty fields is blank too.
    const cam::CsvTable blank = cam::ReadCsv("a\r\n\r\n,, ,\r\nb\r\n");
    EXPECT_EQ(FieldsOf(blank), (std::vector<Fields>{{"a"}, {""}, {"", "", " ", ""}, {"b"}}));
    EXPECT_TRUE(blank.records[1].blank());
    EXPECT_TRUE(blank.records[2].blank());
    EXPECT_FALSE(blank.records[3].blank());
    EXPECT_EQ(blank.records[3].line, 4);
    // Text after a closing quote stays, as spreadsheets keep it.
    EXPECT_EQ(FieldsOf(cam::ReadCsv("\"ab\"c,d")), (std::vector<Fields>{{"abc", "d"}}));
    EXPECT_TRUE(cam::ReadCsv("").records.empty());
}

TEST(Csv, AQuoteLeftOpenIsReportedWithItsLine) {
    const cam::CsvTable t = cam::ReadCsv("a,b\r\nc,\"d\r\ne,f\r\n");
    EXPECT_EQ(t.unclosedQuoteLine, 2);
    ASSERT_EQ(t.records.size(), 2u);
    EXPECT_EQ(t.records[1].fields, (Fields{"c", "d\r\ne,f\r\n"}));
}

TEST(Csv, WritesFieldsQuotedOnlyWhereTheyMustBe) {
    EXPECT_EQ(cam::CsvRow({"1", "MAIN KNIFE", "", "100"}), "1,MAIN KNIFE,,100\r\n");
    EXPECT_EQ(cam::CsvRow({"a,b", "say \"hi\"", " lead", "trail ", "x;y", "two\nlines"}),
              "\"a,b\",\"say \"\"hi\"\"\",\" lead\",\"trail \",\"x;y\",\"two\nlines\"\r\n");
    // What is written reads back as it was.
    const Fields odd = {"", "\"", ",", "a\r\nb", " ", "plain"};
    EXPECT_EQ(cam::ReadCsv(cam::CsvRow(odd)).records.at(0).fields, odd);
}

TEST(Utf8Text, EveryWindows1252ByteSurvivesTheWayThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cam::Cp1252ToUtf8(all);
    EXPECT_TRUE(cam::IsUtf8(utf8));
    EXPECT_EQ(cam::Utf8ToCp1252(utf8), all);
    // Bytes written out: the euro sign, e acute, the degree sign.
    EXPECT_EQ(cam::Cp1252ToUtf8("\x80\xE9\xB0"), "\xE2\x82\xAC\xC3\xA9\xC2\xB0");
    EXPECT_EQ(cam::Utf8ToCp1252("\xE2\x82\xAC\xC3\xA9"), "\x80\xE9");
}

TEST(Utf8Text, MalformedTextAndCharactersWithoutAByteAreRefused) {
    EXPECT_FALSE(cam::IsUtf8("\xE9t\xE9"));                      // Windows-1252, not UTF-8
    EXPECT_FALSE(cam::IsUtf8("\xC0\xAF"));                       // an overlong "/"
    EXPECT_FALSE(cam::IsUtf8("\xED\xA0\x80"));                   // a surrogate
    EXPECT_FALSE(cam::IsUtf8("\xE2\x82"));                       // cut short
    EXPECT_EQ(cam::Utf8ToCp1252("\xE2\x86\x92"), std::nullopt);  // an arrow: no byte for it
    EXPECT_EQ(cam::ShownAsCp1252("a\xE2\x86\x92\xC3\xA9"), "a?\xE9");
    EXPECT_EQ(cam::ShownAsCp1252("\xE9t\xE9"), "\xE9t\xE9");
}

}  // namespace
