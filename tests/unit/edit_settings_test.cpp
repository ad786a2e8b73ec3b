// camdesk's own settings file of chart editing, and the --drag argument of the command line.
#include "core/model/edit_settings.h"

#include "core/model/startup.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

using namespace cam;

namespace {

TEST(EditSettings, SnapStepIsWrittenAndReadBack) {
    Program p;
    p.SnapStep = 16;
    EXPECT_EQ(FormatEditSettings(p), "SnapStep=16\r\n");
    // file, the step read into a program whose step was 8: bad values keep it or are limited
    for (auto [file, step] : std::vector<std::pair<const char*, int>>{
             {"SnapStep=16\r\n", 16}, {"Other=3\nSnapStep=4\n", 4}, {"Other=3\rSnapStep=5\r", 5},
             {"SnapStep=abc\r\n", 8}, {"SnapStep=\r\n", 8}, {"SnapStep=-3\r\n", 8}, {"SnapStep=99999\r\n", 128},
             {"SnapStep=0\r\n", 1}}) {
        Program q;
        q.SnapStep = 8;
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

TEST(CommandLineDrag, CamFromTo) {
    auto drag = [](const std::string& value, bool screenshot = true) {
        ParsedArgs a;
        a.options["drag"] = {value};
        if (screenshot) a.options["screenshot"] = {"o.png"};
        return ReadCommandLine(a);
    };
    CommandLine cl = drag("3:100:200");
    EXPECT_EQ(
        cl.error + std::to_string(cl.dragCam) + ":" + std::to_string(cl.dragFrom) + ":" + std::to_string(cl.dragTo),
        "3:100:200");
    cl = drag("32:1023:0");
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.dragFrom, 1023);
    for (const char* bad : {"0:1:2", "33:1:2", "3:1024:2", "3:1:", "3:1", "3:1:2:4", "a:b:c", "3:-1:5", "", "3::5"})
        EXPECT_NE(drag(bad).error, "") << bad;
    EXPECT_NE(drag("3:100:200", false).error, "");  // only with --screenshot
}

}  // namespace
