#include "core/model/startup.h"

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

// The values of options already split by the parser (the splitting: tests/cli).
TEST(CommandLine, ValuesAndMistakes) {
    auto read = [](std::map<std::string, std::vector<std::string>> options, std::vector<std::string> files = {}) {
        ParsedArgs a;
        a.options = std::move(options);
        a.arguments = std::move(files);
        return ReadCommandLine(a);
    };
    auto cl = read({{"port", {"/dev/ttyUSB0"}}, {"trace", {""}}}, {"\"/tmp/a b.Cam\""});
    EXPECT_EQ(cl.error + "|" + cl.port + "|" + cl.file + "|" + cl.screenshot, "|/dev/ttyUSB0|/tmp/a b.Cam|");
    EXPECT_TRUE(cl.trace);
    cl =
        read({{"screenshot", {"o.png"}}, {"window", {"functions"}}, {"cam", {"23"}}, {"position", {"500"}}}, {"f.Cam"});
    EXPECT_EQ(
        cl.error + "|" + cl.window + "|" + std::to_string(cl.cam) + "|" + std::to_string(cl.position) + "|" + cl.file,
        "|functions|23|500|f.Cam");
    for (const auto& wrong : std::vector<std::map<std::string, std::vector<std::string>>>{
             {{"window", {"functions"}}},  // only with --screenshot
             {{"cam", {"2"}}},
             {{"screenshot", {"o.png"}}, {"cam", {"x"}}},
             {{"screenshot", {"o.png"}}, {"position", {"1024"}}}})
        EXPECT_NE(read(wrong).error, "") << wrong.begin()->first;
    EXPECT_TRUE(read({{"version", {""}}}).version);
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
