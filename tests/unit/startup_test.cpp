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
    using Options = std::map<std::string, std::vector<std::string>>;
    auto read = [](Options options, std::vector<std::string> files = {}) {
        return ReadCommandLine(ParsedArgs{std::move(options), std::move(files)});
    };
    auto cl = read({{"port", {"/dev/ttyUSB0"}}, {"trace", {""}}}, {"\"/tmp/a b.Cam\""});
    EXPECT_EQ(std::tie(cl.error, cl.port, cl.file, cl.screenshot, cl.trace),
              std::tuple("", "/dev/ttyUSB0", "/tmp/a b.Cam", "", true));
    cl =
        read({{"screenshot", {"o.png"}}, {"window", {"functions"}}, {"cam", {"23"}}, {"position", {"500"}}}, {"f.Cam"});
    EXPECT_EQ(std::tie(cl.error, cl.window, cl.cam, cl.position, cl.file),
              std::tuple("", "functions", 23, 500, "f.Cam"));
    EXPECT_TRUE(read({{"version", {""}}}).version);
    // --drag CAM:FROM:TO, with --screenshot only.
    cl = read({{"screenshot", {"o.png"}}, {"drag", {"3:100:200"}}});
    EXPECT_EQ(std::tie(cl.error, cl.dragCam, cl.dragFrom, cl.dragTo), std::tuple("", 3, 100, 200));
    cl = read({{"screenshot", {"o.png"}}, {"drag", {"32:1023:0"}}});
    EXPECT_EQ(std::tie(cl.error, cl.dragFrom), std::tuple("", 1023));
    std::vector<Options> wrong = {{{"window", {"functions"}}},  // only with --screenshot
                                  {{"cam", {"2"}}},
                                  {{"drag", {"3:100:200"}}},
                                  {{"screenshot", {"o.png"}}, {"cam", {"x"}}},
                                  {{"screenshot", {"o.png"}}, {"position", {"1024"}}}};
    for (const char* bad : {"0:1:2", "33:1:2", "3:1024:2", "3:1:", "3:1", "3:1:2:4", "a:b:c", "3:-1:5", "", "3::5"})
        wrong.push_back({{"screenshot", {"o.png"}}, {"drag", {bad}}});
    for (const Options& o : wrong) EXPECT_NE(read(o).error, "") << o.begin()->first << "=" << o.begin()->second[0];
}

TEST(StartupValues, SettingsModelAndScreenScale) {
    Program p;
    std::tie(p.WorkDir, p.ComPort, p.ComDevice, p.ComSpeed) = std::tuple("/w", 4, "/dev/x", 19200);
    SetStartupSettings(p);
    EXPECT_EQ(std::tie(p.TmpFile, p.ComDevice, p.ComPort, p.ComSpeed), std::tuple("/w/_._", "", 1, 9600));
    std::tie(p.NCams, p.NSizes, p.NMsgs, p.CurSize) = std::tuple(16, 60, 180, 9);
    SetStartupModel(p);
    EXPECT_EQ(std::tie(p.NCams, p.NSizes, p.NMsgs, p.CurCam, p.CurSize), std::tuple(32, 7, 255, 1, 1));
    EXPECT_FLOAT_EQ(ScreenScale(960, 0), 90.0f);
    EXPECT_FLOAT_EQ(ScreenScale(480, 7), 7.0f);
}
