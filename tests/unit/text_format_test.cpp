#include "core/model/text_format.h"

#include <gtest/gtest.h>

using namespace cam;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;  // {made, expected}

void ExpectAll(const Pairs& rows) {
    for (const auto& [made, expected] : rows) EXPECT_EQ(made, expected);
}

TEST(NumberForms, PrintZeroPaddedStrAndWireFields) {
    ExpectAll({{PrintNumber(7), " 7 "}, {PrintNumber(32), " 32 "}, {PrintNumber(0), " 0 "}, {PrintNumber(-3), "-3 "},
               {D2(5), "05"},           {D2(60), "60"},           {D2(100), "100"},        {D3(10), "010"},
               {D4(24), "0024"},        {D4(1024), "1024"},       {D4(12345), "12345"},    {Str(5), " 5"},
               {Str(0), " 0"},          {Str(-5), "-5"},          {CStr(5), "5"},          {CStr(-5), "-5"}});
    // Wire fields keep the rightmost characters.
    ExpectAll({{Dec(3, 2), "03"}, {Dec(90, 3), "090"}, {Dec(1500, 4), "1500"},
               {Dec(1024, 3), "024"},  // cut: the caller must warn before it happens
               {Dec(7, 2), "07"}, {Hex2(10), "0A"}, {Hex2(200), "C8"}, {Hex2(5), "05"}, {Hex2(0), "00"},
               {Hex2(0x1FF), "FF"}, {Bit(3), "1"}, {Bit(2), "0"}});
}

TEST(ValueParse, SkipsBlanksStopsAtTheFirstNonNumberAndRoundsHalvesToEven) {
    const std::vector<std::pair<const char*, double>> rows = {
        {"", 0},        {"abc", 0},     {" 0100", 100}, {" 1 0 2 4 ", 1024}, {"12ab34", 12},
        {"-7", -7},     {"  -  7", -7}, {"2.5x", 2.5},  {"1e3", 1000},       {"1e", 1},
        {"0010\"", 10}, {".", 0},       {"1.2.3", 1.2}};
    for (auto [text, value] : rows) EXPECT_EQ(Val(text), value) << text;
    for (auto [text, value] : std::vector<std::pair<const char*, long>>{{"FF", 255}, {"0a", 10}, {"1G", 1}, {"", 0}})
        EXPECT_EQ(HexVal(text), value) << text;
    EXPECT_EQ(HexVal("FFFFFFFFFFFFFFFFFFFFFFFF"), HexVal("FFFFFFFFFFFFFFF"));  // saturates, never overflows
    // Halves go to the even neighbour.
    for (auto [x, rounded] : std::vector<std::pair<double, long>>{{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.6, 3}})
        EXPECT_EQ(RoundHalfEven(x), rounded) << x;
    EXPECT_EQ(RoundHalfEven(1e300), RoundHalfEven(1e301));  // limited, never undefined
    EXPECT_EQ((std::vector<long>{ValRounded("99.5"), ValRounded("100.5")}), (std::vector<long>{100, 100}));
}

TEST(TextHelpers, FieldsSlicesAndShortPrintableQuotes) {
    ExpectAll({{std::string(LastField("ANTICIPO CAMS  01 ms   10 ")), "10"}, {std::string(LastField("   ")), ""},
               {std::string(TrimBlanks("  a b  ")), "a b"}, {Right("FORMATO N. 07", 2), "07"}, {Right("7", 2), "7"},
               {Mid("abcdef", 3, 2), "cd"}, {Mid("abc", 3, 5), "c"}, {Mid("abc", 4, 1), ""}, {Mid("abc", 0, 1), ""}});
    // A message quotes at most 80 characters of a line, says it was cut, and shows no raw bytes.
    ExpectAll({{QuotedLine("hello"), "hello"}, {QuotedLine(std::string(80, 'a')), std::string(80, 'a')},
               {QuotedLine(std::string(10'000'000, 'a')), std::string(80, 'a') + "..."},
               {QuotedLine(std::string("a\x02\x1b[2Jb\x7f\xb0")), "a??[2Jb?\xb0"}});
}

}  // namespace
