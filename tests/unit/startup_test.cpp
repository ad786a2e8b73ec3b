#include "core/startup.h"

#include <gtest/gtest.h>

#include <set>

using namespace cam;

TEST(WorkDir, ZetoInDocumentsWinsWhenWritable) {
    std::set<std::string> dirs{"/home/u/Documents", "/home/u/Documents/Zeto"};
    auto usable = [&](const std::string& d) { return dirs.count(d) > 0; };
    EXPECT_EQ(ChooseWorkDir("/home/u/Documents", "/home/u", usable), "/home/u/Documents/Zeto");
    dirs.erase("/home/u/Documents/Zeto");
    EXPECT_EQ(ChooseWorkDir("/home/u/Documents", "/home/u", usable), "/home/u/Documents");
    dirs.clear();
    EXPECT_EQ(ChooseWorkDir("/home/u/Documents", "/home/u", usable), "/home/u");
    EXPECT_EQ(ChooseWorkDir("", "/home/u", usable), "/home/u");
}

TEST(CommandLine, OptionsFileAndMistakes) {
    auto cl = ParseCommandLine({"--port", "/dev/ttyUSB0", "--trace", "\"/tmp/a b.Cam\""});
    EXPECT_EQ(cl.error + "|" + cl.port + "|" + cl.file + "|" + cl.screenshot, "|/dev/ttyUSB0|/tmp/a b.Cam|");
    EXPECT_TRUE(cl.trace);
    cl = ParseCommandLine({"--screenshot", "out.png", "x.Cam"});
    EXPECT_EQ(cl.screenshot + "|" + cl.file, "out.png|x.Cam");
    cl = ParseCommandLine({"--screenshot", "out.png"});
    EXPECT_EQ(cl.error + "|" + cl.file, "|");
    EXPECT_NE(ParseCommandLine({"--port"}).error, "");
    EXPECT_NE(ParseCommandLine({"--colour", "red"}).error, "");
    EXPECT_NE(ParseCommandLine({"a.Cam", "b.Cam"}).error, "");
    EXPECT_EQ(ParseCommandLine({}).error, "");
    cl = ParseCommandLine(
        {"--screenshot", "o.png", "--window", "functions", "--cam", "23", "--position", "500", "f.Cam"});
    EXPECT_EQ(
        cl.error + "|" + cl.window + "|" + std::to_string(cl.cam) + "|" + std::to_string(cl.position) + "|" + cl.file,
        "|functions|23|500|f.Cam");
    EXPECT_NE(ParseCommandLine({"--window", "functions"}).error, "");  // only with --screenshot
    EXPECT_NE(ParseCommandLine({"--screenshot", "o.png", "--cam", "x"}).error, "");
    EXPECT_NE(ParseCommandLine({"--screenshot", "o.png", "--position", "1024"}).error, "");
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
}

TEST(StartupValues, SettingsModelAndScreenScale) {
    Program p;
    p.WorkDir = "/w";
    p.ComPort = 4;
    p.ComDevice = "/dev/x";
    p.ComSpeed = 19200;
    SetStartupSettings(p);
    EXPECT_EQ(p.TmpFile, "/w/_._");
    EXPECT_EQ(p.ComDevice, "");
    EXPECT_EQ((std::vector<long>{p.ComPort, p.ComSpeed}), (std::vector<long>{1, 9600}));
    p.NCams = 16;
    p.NSizes = 60;
    p.NMsgs = 180;
    p.CurSize = 9;
    SetStartupModel(p);
    EXPECT_EQ((std::vector<long>{p.NCams, p.NSizes, p.NMsgs, p.CurCam, p.CurSize}),
              (std::vector<long>{32, 7, 255, 1, 1}));
    EXPECT_FLOAT_EQ(ScreenScale(960, 0), 90.0f);
    EXPECT_FLOAT_EQ(ScreenScale(480, 7), 7.0f);
}
