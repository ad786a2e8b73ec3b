#include "core/text_format.h"

#include <gtest/gtest.h>

using namespace cam;

TEST(NumberForms, PrintStatementNumber) {
    EXPECT_EQ(PrintNumber(7), " 7 ");
    EXPECT_EQ(PrintNumber(32), " 32 ");
    EXPECT_EQ(PrintNumber(0), " 0 ");
    EXPECT_EQ(PrintNumber(-3), "-3 ");
}

TEST(NumberForms, ZeroPaddedKeepsLongerNumbers) {
    EXPECT_EQ(D2(5), "05");
    EXPECT_EQ(D2(60), "60");
    EXPECT_EQ(D2(100), "100");
    EXPECT_EQ(D3(10), "010");
    EXPECT_EQ(D4(24), "0024");
    EXPECT_EQ(D4(1024), "1024");
    EXPECT_EQ(D4(12345), "12345");
}

TEST(NumberForms, WireFieldsKeepTheRightmostCharacters) {
    EXPECT_EQ(Dec(3, 2), "03");
    EXPECT_EQ(Dec(90, 3), "090");
    EXPECT_EQ(Dec(1500, 4), "1500");
    EXPECT_EQ(Dec(1024, 3), "024");  // cut: the caller must warn before it happens
    EXPECT_EQ(Dec(7, 2), "07");
    EXPECT_EQ(Hex2(10), "0A");
    EXPECT_EQ(Hex2(200), "C8");
    EXPECT_EQ(Hex2(5), "05");
    EXPECT_EQ(Hex2(0), "00");
    EXPECT_EQ(Hex2(0x1FF), "FF");
    EXPECT_EQ(Bit(3), "1");
    EXPECT_EQ(Bit(2), "0");
}

TEST(NumberForms, StrAndCStr) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(CStr(5), "5");
    EXPECT_EQ(CStr(-5), "-5");
}

TEST(ValueParse, SkipsBlanksAndStopsAtTheFirstNonNumber) {
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(" 0100"), 100);
    EXPECT_EQ(Val(" 1 0 2 4 "), 1024);
    EXPECT_EQ(Val("12ab34"), 12);
    EXPECT_EQ(Val("-7"), -7);
    EXPECT_EQ(Val("  -  7"), -7);
    EXPECT_EQ(Val("2.5x"), 2.5);
    EXPECT_EQ(Val("1e3"), 1000);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("0010\""), 10);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("1.2.3"), 1.2);
}

TEST(ValueParse, Hexadecimal) {
    EXPECT_EQ(HexVal("FF"), 255);
    EXPECT_EQ(HexVal("0a"), 10);
    EXPECT_EQ(HexVal("1G"), 1);
    EXPECT_EQ(HexVal(""), 0);
    EXPECT_EQ(HexVal("FFFFFFFFFFFFFFFFFFFFFFFF"), HexVal("FFFFFFFFFFFFFFF"));  // saturates, never overflows
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(1e300), RoundHalfEven(1e301));  // limited, never undefined
    EXPECT_EQ(ValRounded("99.5"), 100);
    EXPECT_EQ(ValRounded("100.5"), 100);
}

TEST(TextHelpers, FieldsAndSlices) {
    EXPECT_EQ(LastField("ANTICIPO CAMS  01 ms   10 "), "10");
    EXPECT_EQ(LastField("   "), "");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(Right("FORMATO N. 07", 2), "07");
    EXPECT_EQ(Right("7", 2), "7");
    EXPECT_EQ(Mid("abcdef", 3, 2), "cd");
    EXPECT_EQ(Mid("abc", 3, 5), "c");
    EXPECT_EQ(Mid("abc", 4, 1), "");
    EXPECT_EQ(Mid("abc", 0, 1), "");
}
