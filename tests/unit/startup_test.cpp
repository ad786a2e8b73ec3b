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

TEST(CommandLine, FileAfterOptionsQuotesRemoved) {
    auto cl = ParseCommandLine({"--port", "/dev/ttyUSB0", "--trace", "\"/tmp/a b.Cam\""});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.port, "/dev/ttyUSB0");
    EXPECT_TRUE(cl.trace);
    EXPECT_EQ(cl.file, "/tmp/a b.Cam");
    EXPECT_EQ(cl.screenshot, "");
}

TEST(CommandLine, ScreenshotWithAndWithoutFile) {
    auto cl = ParseCommandLine({"--screenshot", "out.png", "x.Cam"});
    EXPECT_EQ(cl.screenshot, "out.png");
    EXPECT_EQ(cl.file, "x.Cam");
    cl = ParseCommandLine({"--screenshot", "out.png"});
    EXPECT_EQ(cl.file, "");
    EXPECT_EQ(cl.error, "");
}

TEST(CommandLine, MistakesAreNamed) {
    EXPECT_NE(ParseCommandLine({"--port"}).error, "");
    EXPECT_NE(ParseCommandLine({"--colour", "red"}).error, "");
    EXPECT_NE(ParseCommandLine({"a.Cam", "b.Cam"}).error, "");
    EXPECT_EQ(ParseCommandLine({}).error, "");
}

TEST(PortName, ComNumbersAndDevicePaths) {
    Program p;
    ApplyPortName(p, "COM3");
    EXPECT_EQ(p.ComPort, 3);
    EXPECT_EQ(p.ComDevice, "");
    ApplyPortName(p, "/dev/ttyUSB0");
    EXPECT_EQ(p.ComDevice, "/dev/ttyUSB0");
    EXPECT_EQ(p.ComPort, 3);
    ApplyPortName(p, "COM1");
    EXPECT_EQ(p.ComDevice, "");
    EXPECT_EQ(p.ComPort, 1);
}

TEST(StartupValues, SettingsAndModel) {
    Program p;
    p.WorkDir = "/w";
    p.FileSaved = false;
    p.ComPort = 4;
    p.ComDevice = "/dev/x";
    p.ComSpeed = 19200;
    SetStartupSettings(p);
    EXPECT_EQ(p.TmpFile, "/w/_._");
    EXPECT_TRUE(p.FileSaved);
    EXPECT_EQ(p.ComPort, 1);
    EXPECT_EQ(p.ComDevice, "");
    EXPECT_EQ(p.ComSpeed, 9600);
    p.NCams = 16;
    p.NSizes = 60;
    p.NMsgs = 180;
    p.CurSize = 9;
    SetStartupModel(p);
    EXPECT_EQ(p.NCams, 32);
    EXPECT_EQ(p.NSizes, 7);
    EXPECT_EQ(p.NMsgs, 255);
    EXPECT_EQ(p.CurCam, 1);
    EXPECT_EQ(p.CurSize, 1);
}

TEST(StartupValues, ScreenScale) {
    EXPECT_FLOAT_EQ(ScreenScale(960, 0), 90.0f);
    EXPECT_FLOAT_EQ(ScreenScale(480, 7), 7.0f);
}
