// The programmer window's form model, the resizer's rules and the any-case file patterns.
#include "core/model/programmer_form.h"
#include "core/ui/file_filter.h"
#include "core/ui/resize_rules.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Ints = std::vector<int>;

cam::Program Model(int cams, int sizes) { return camtest::MakeProgram(cams, sizes, 3); }

TEST(ProgrammerForm, ASizeCountNotOfferedBecomesTheLargerOne) {
    cam::Program p = Model(32, 15);
    cam::ProgrammerForm m(p);
    // Opening the window always means one encoder.
    EXPECT_EQ(std::tuple(m.camsIndex(), m.sizesIndex(), m.sizeCaption(1), p.NSizes, p.NEncoders),
              std::tuple(1, 1, "30 SIZES", 30, 1));
    // Every offered model is shown as it is.
    for (auto [cams, sizes, index] : {std::tuple{32, 7, 0}, {32, 30, 1}, {16, 15, 0}, {16, 60, 1}}) {
        cam::Program p = Model(cams, sizes);
        cam::ProgrammerForm m(p);
        EXPECT_EQ((Ints{m.sizesIndex(), p.NSizes, p.NCams}), (Ints{index, sizes, cams})) << cams << "/" << sizes;
    }
}

// Closing applies what the buttons show, whatever the tables hold, and empties the phases.
TEST(ProgrammerForm, SwitchingTo16CamsRelabelsAndClosingApplies) {
    cam::Program p = Model(32, 7);
    cam::ProgrammerForm m(p);
    EXPECT_EQ((std::array{m.encoderEnabled(0), m.encoderEnabled(1), m.encoderEnabled(2)}),
              (std::array{true, false, false}));
    m.clickEncoders(2);
    EXPECT_EQ(std::tuple(p.NEncoders, m.encoderSelected(0), m.sizeCaption(0)), std::tuple(1, true, " 7 SIZES"));
    m.clickCams(0);
    EXPECT_EQ(std::tuple(p.NCams, m.sizeCaption(0), m.sizeCaption(1), m.sizesIndex(), p.NSizes),
              std::tuple(16, "15 SIZES", "60 SIZES", 1, 60));
    m.clickSizes(0);
    EXPECT_EQ(p.NSizes, 15);
    p.NSizes = 99;  // whatever happened meanwhile, the buttons decide
    cam::SetPhase(p, 1, 0, 10, 20);
    m.close();
    EXPECT_EQ((Ints{p.NCams, p.NSizes, p.CamPos.cams(), p.CamPos.sizes(), p.CamPos(1, 0, 15)}),
              (Ints{16, 15, 16, 15, 0}));
}

TEST(ProgrammerForm, AutoSelectShowsTheIdentifiedModelOnlyWhenTheDeviceAnswered) {
    cam::Program p = Model(32, 7);
    cam::ProgrammerForm m(p);
    EXPECT_FALSE(m.autoSelect([](cam::Program&) { return false; }));
    EXPECT_EQ(m.camsIndex(), 1);
    EXPECT_TRUE(m.autoSelect([](cam::Program& q) {
        q.NCams = 16;
        q.NSizes = 15;
        return true;
    }));
    EXPECT_EQ((Ints{m.camsIndex(), m.sizesIndex()}), (Ints{0, 0}));
    EXPECT_FALSE(m.autoSelect({}));
}

TEST(PortStatus, ClosedAndOpenWording) {
    cam::Program p;
    p.ComPort = 3;
    EXPECT_EQ(cam::PortStatusText(p, false), "Serial Port COM 3 Unconnected");
    std::tie(p.ComPort, p.ComSpeed) = std::tuple(1, 9600);
    EXPECT_EQ(cam::PortStatusText(p, true), "Serial Port COM1 Connected to 9600");
    p.ComDevice = "/dev/ttyUSB0";
    EXPECT_EQ(cam::PortStatusText(p, false), "Serial Port /dev/ttyUSB0 Unconnected");
}

// What follows the window by the control's tag: without an at sign everything, and the font
// the horizontal ratio only.
TEST(ResizeRules, TagsChooseWhatFollowsTheWindow) {
    using Record = std::vector<double>;  // left, top, width, height, font size
    const std::tuple<const char*, double, double, Record> cases[] = {{"", 2.0, 2.0, {20, 40, 200, 28, 16.5}},
                                                                     {"LT", 2.0, 2.0, {20, 40, 200, 28, 16.5}},
                                                                     {"@l,t", 2.0, 3.0, {20, 60, 100, 14, 8.25}},
                                                                     {"@L,T", 2.0, 3.0, {20, 60, 100, 14, 8.25}},
                                                                     {"", 1.5, 4.0, {15, 80, 150, 56, 12.375}}};
    for (const auto& [tag, x, y, expected] : cases) {
        const cam::ControlRecord c = cam::ScaleRecord({10, 20, 100, 14, 8.25}, cam::ParseResizeTag(tag), x, y);
        EXPECT_EQ((Record{double(c.left), double(c.top), double(c.width), double(c.height), c.fontSize}), expected)
            << tag << " " << x << " " << y;
    }
}

TEST(FileFilter, PatternsMatchAnyLetterCase) {
    EXPECT_EQ((std::vector{cam::AnyCasePattern("*.cam"), cam::AnyCasePattern("*.Msg"), cam::AnyCasePattern("*.*")}),
              (std::vector<std::string>{"*.[cC][aA][mM]", "*.[mM][sS][gG]", "*"}));
}

}  // namespace
