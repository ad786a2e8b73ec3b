// camdesk's own settings file of chart editing.
#include "core/model/edit_settings.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

using namespace cam;

namespace {

TEST(EditSettings, SnapStepIsWrittenAndReadBack) {
    Program p;
    p.SnapStep = 16;
    EXPECT_EQ(FormatEditSettings(p), "SnapStep=16\r\n");
    // file, the step read into a program whose step was 8: bad values keep it or are limited
    const std::pair<const char*, int> files[] = {
        {"SnapStep=16\r\n", 16}, {"Other=3\nSnapStep=4\n", 4}, {"Other=3\rSnapStep=5\r", 5}, {"SnapStep=abc\r\n", 8},
        {"SnapStep=\r\n", 8},    {"SnapStep=-3\r\n", 8},       {"SnapStep=99999\r\n", 128},  {"SnapStep=0\r\n", 1}};
    for (auto [file, step] : files) {
        Program q;  // its step is 8
        ParseEditSettings(q, file);
        EXPECT_EQ(q.SnapStep, step) << file;
    }
    for (auto [text, step] : std::vector<std::pair<const char*, int>>{{"12abc", 12}, {"", 1}, {"500", 128}})
        EXPECT_EQ(SnapStepOf(text), step) << text;
}

TEST(EditSettings, FileInTheWorkingFolderApartFromTheOptions) {
    camtest::ScratchFolder dir;
    Program p;
    p.WorkDir = dir.str();
    ReadEditSettings(p);  // no file: the default stays
    EXPECT_EQ(p.SnapStep, 8);
    p.SnapStep = 32;
    ASSERT_TRUE(WriteEditSettings(p).ok());
    EXPECT_EQ(EditSettingsPath(p), dir.str() + "/camdesk.ini");
    Program q;
    q.WorkDir = dir.str();
    ReadEditSettings(q);
    EXPECT_EQ(q.SnapStep, 32);
}

}  // namespace
