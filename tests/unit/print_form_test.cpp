// The print dialog's rules: the size box's keys and correction, and what PRINT prints.
#include "core/printing/print_form.h"

#include "support/make_program.h"

#include <gtest/gtest.h>

namespace {

TEST(SizeBox, DigitsPassAnyOtherCharacterIsAZero) {
    for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(cam::SizeBoxKey(c), c);
    for (char c : {'a', 'Z', ' ', '-', '+', '.', '/', ':', '\x7f'}) EXPECT_EQ(cam::SizeBoxKey(c), '0') << int(c);
}

// Enter clamps to the sizes and writes two digits; the box never stands for a size that does
// not exist: an empty box and "00" are size 1.
TEST(SizeBox, EnterKeepsTheBoxWithinTheSizes) {
    EXPECT_EQ(cam::SizeBoxCommit("99", 30), "30");
    EXPECT_EQ(cam::SizeBoxCommit("30", 30), "30");
    EXPECT_EQ(cam::SizeBoxCommit("5", 30), "05");
    EXPECT_EQ(cam::SizeBoxCommit("08", 7), "07");
    EXPECT_EQ(cam::SizeBoxCommit("", 7), "01");
    EXPECT_EQ(cam::SizeBoxCommit("00", 7), "01");
    EXPECT_EQ(cam::SizeBoxCommit("0", 7), "01");
    EXPECT_EQ(cam::SizeOfBox("", 7), 1);
    EXPECT_EQ(cam::SizeOfBox("00", 7), 1);
    EXPECT_EQ(cam::SizeOfBox("99", 7), 7);
    EXPECT_EQ(cam::SizeOfBox("x", 7), 1);
}

TEST(PrintForm, StartsWithTheCurrentSizeAndPrintsOneOrAll) {
    cam::Program p = camtest::MakeProgram(32, 7);
    p.CurSize = 4;
    cam::PrintForm form(p);
    EXPECT_EQ(form.sizeBox, "04");
    EXPECT_EQ(form.mode, cam::PrintMode::Listing);
    EXPECT_EQ(form.SizesToPrint(7), std::vector<int>{4});
    form.sizeBox = "00";
    EXPECT_EQ(form.SizesToPrint(7), std::vector<int>{1});
    form.sizeBox = "12";
    EXPECT_EQ(form.SizesToPrint(7), std::vector<int>{7});
    form.allSizes = true;
    EXPECT_EQ(form.SizesToPrint(7), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    // A current size outside the model is shown as one that exists.
    p.CurSize = 0;
    EXPECT_EQ(cam::PrintForm(p).sizeBox, "01");
}

}  // namespace
