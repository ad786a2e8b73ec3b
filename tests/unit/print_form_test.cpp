// The print dialog's rules: the size box's keys and correction, and what PRINT prints.
#include "core/printing/print_form.h"

#include "support/make_program.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(SizeBox, DigitsPassOthersAreZerosAndEnterKeepsTheBoxWithinTheSizes) {
    for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(cam::SizeBoxKey(c), c);
    for (char c : {'a', 'Z', ' ', '-', '+', '.', '/', ':', '\x7f'}) EXPECT_EQ(cam::SizeBoxKey(c), '0') << int(c);
    // Enter clamps to the sizes and writes two digits; the box never stands for a size that does
    // not exist: an empty box and "00" are size 1.
    const std::tuple<const char*, int, const char*> commits[] = {{"99", 30, "30"}, {"30", 30, "30"}, {"5", 30, "05"},
                                                                 {"08", 7, "07"},  {"", 7, "01"},    {"00", 7, "01"},
                                                                 {"0", 7, "01"}};
    for (auto [box, sizes, committed] : commits) EXPECT_EQ(cam::SizeBoxCommit(box, sizes), committed) << box;
    const std::pair<const char*, int> boxes[] = {{"", 1}, {"00", 1}, {"99", 7}, {"x", 1}};
    for (auto [box, size] : boxes) EXPECT_EQ(cam::SizeOfBox(box, 7), size) << box;
}

TEST(PrintForm, StartsWithTheCurrentSizeAndPrintsOneOrAll) {
    cam::Program p = camtest::MakeProgram(32, 7);
    p.CurSize = 4;
    cam::PrintForm form(p);
    EXPECT_EQ(std::tuple(form.sizeBox, form.mode, form.SizesToPrint(7)),
              std::tuple("04", cam::PrintMode::Listing, std::vector<int>{4}));
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
