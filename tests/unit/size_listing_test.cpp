// The words of the size printouts: the header line, the cam lines and the phase lines with
// their wrapping, against texts written out here.
#include "core/printing/size_listing.h"

#include "core/model/program.h"
#include "support/make_program.h"
#include "support/shipped_texts.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// One unit a character: the margin is then a number of characters.
double Chars(const std::string& text) { return double(text.size()); }

cam::Program Sample() {
    cam::Program p = camtest::MakeProgram(32, 7);
    std::tie(p.LngTxt, p.CamFileTitle) = std::tuple(camtest::ShippedTexts(), "demo.Cam");
    return p;
}

TEST(ListingPhases, ChartOrderThroughZeroFirstAndANewLineWhereAPhaseWouldPassTheMargin) {
    cam::Program p = Sample();
    for (auto [on, off] : {std::pair{300, 400}, {900, 50}, {100, 200}}) ASSERT_TRUE(cam::SetPhase(p, 1, 0, on, off));
    EXPECT_EQ(cam::ListingPhaseLines(p, 1, 0, Chars, 200), Lines{"   0900 0050 - 0100 0200 - 0300 0400"});
    // A phase that starts at 0 shows ON 0000, one that ends at 1023 OFF 0000, a full turn 0000 1024.
    for (auto [c, on, off] : {std::array{1, 0, 100}, {2, 1000, 1024}, {3, 0, 1024}})
        ASSERT_TRUE(cam::SetPhase(p, 1, c, on, off));
    std::vector<Lines> listed;
    for (int cam = 1; cam <= 4; ++cam) listed.push_back(cam::ListingPhaseLines(p, 1, cam, Chars, 200));
    EXPECT_EQ(listed, (std::vector<Lines>{{"   0000 0100"}, {"   1000 0000"}, {"   0000 1024"}, {}}));
    for (int on = 10; on < 100; on += 20) ASSERT_TRUE(cam::SetPhase(p, 2, 5, on, on + 5));
    // "   0010 0015 - 0030 0035" is 24 characters: it fits 24 but not 23.
    EXPECT_EQ(cam::ListingPhaseLines(p, 2, 5, Chars, 24),
              (Lines{"   0010 0015 - 0030 0035", "   0050 0055 - 0070 0075", "   0090 0095"}));
    EXPECT_EQ(cam::ListingPhaseLines(p, 2, 5, Chars, 23),
              (Lines{"   0010 0015", "   0030 0035", "   0050 0055", "   0070 0075", "   0090 0095"}));
    // A margin narrower than one phase still prints every phase, one a line.
    EXPECT_EQ(cam::ListingPhaseLines(p, 2, 5, Chars, 3).size(), 5u);
}

// An empty line, the bold header, then every cam: its number, its quoted remark as it is,
// and its phases. Sizes outside the tables list nothing.
TEST(Listing, HeaderFieldsInTheirOrderThenEmptyLineBoldHeaderAndEveryCam) {
    cam::Program p = Sample();
    EXPECT_EQ(cam::PrintHeaderLine(p, 5), "CAM PROGRAMMER 1024 32     FORMATO N. 05                    File:demo.Cam");
    EXPECT_EQ(cam::ContinuedHeaderLine(p, 5, 2),
              "CAM PROGRAMMER 1024 32     FORMATO N. 05                    File:demo.Cam   - 2 -");
    // Without a script: the built-in wording; a 16-cam model, size 12, no file yet.
    cam::Program q = camtest::MakeProgram(16, 15);
    EXPECT_EQ(cam::PrintHeaderLine(q, 12), "CAM PROGRAMMER 1024 16     FORMATO N. 12                    File:");
    std::tie(p.CamRemark[0], p.CamRemark[9]) = std::tuple("MAIN KNIFE", " SPARE ");
    ASSERT_TRUE(cam::SetPhase(p, 3, 0, 100, 300));
    ASSERT_TRUE(cam::SetPhase(p, 3, 31, 1000, 24));
    ASSERT_TRUE(cam::SetPhase(p, 1, 1, 5, 6));  // another size: not listed
    const std::vector<cam::ListingLine> lines = cam::ListingLines(p, 3, Chars, 80);
    ASSERT_EQ(lines.size(), 2u + 32u + 2u);
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].bold, i == 1) << i;
    Lines picked;
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 12, 34, 35}) picked.push_back(lines[i].text);
    // A cam without phases is only its cam line (C 02, C 03).
    EXPECT_EQ(picked, (Lines{"", "CAM PROGRAMMER 1024 32     FORMATO N. 03                    File:demo.Cam",
                             "C 01  \"MAIN KNIFE\"", "   0100 0300", "C 02", "C 03", "C 10  \" SPARE \"", "C 32",
                             "   1000 0024"}));
    EXPECT_TRUE(cam::ListingLines(p, 0, Chars, 80).empty());
    EXPECT_TRUE(cam::ListingLines(p, 8, Chars, 80).empty());
    EXPECT_EQ(cam::ListingLines(p, 7, Chars, 80).size(), 34u);
}

}  // namespace
