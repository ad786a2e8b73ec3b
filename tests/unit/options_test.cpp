#include "core/model/options.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

namespace {

using cam::Program;

std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct OptionsFile : ::testing::Test {
    camtest::ScratchFolder dir;
    Program p;
    void SetUp() override { p.WorkDir = dir.str(); }
    void givenFile(std::string_view bytes) { dir.write("KlmPx_opt.def", bytes); }
    std::string fileBytes() const { return dir.read("KlmPx_opt.def"); }
};

TEST_F(OptionsFile, WritesQuotedPathPortSpeedThenRecentFilesMostRecentFirst) {
    p.LngFile = "/opt/camdesk/Z32px_ENG.SCR";
    p.ComPort = 2;
    p.ComSpeed = 19200;
    p.RecentFiles = {"/home/op/c.Cam", "/home/op/b.Cam", "/home/op/a.Cam"};
    ASSERT_EQ(cam::WriteOptions(p).reason(), "");
    EXPECT_EQ(fileBytes(), "\"/opt/camdesk/Z32px_ENG.SCR\",2,19200\r\n/home/op/c.Cam\r\n/home/op/b.Cam\r\n/home/op/a.Cam\r\n");
}

TEST_F(OptionsFile, WritesDevicePathPortQuotedPathBytesUnchangedAndNoRecentLinesWhenNone) {
    p.LngFile = "/x/L.Scr";
    p.ComDevice = "/dev/ttyUSB0";
    p.ComPort = 3;
    ASSERT_EQ(cam::WriteOptions(p).reason(), "");
    EXPECT_EQ(fileBytes(), "\"/x/L.Scr\",\"/dev/ttyUSB0\",9600\r\n");
    p.ComDevice.clear();
    p.ComPort = 1;
    p.LngFile = "/home/ren\xc3\xa9/a,b.Scr";  // the file system's own bytes, a comma inside
    ASSERT_EQ(cam::WriteOptions(p).reason(), "");
    EXPECT_EQ(fileBytes(), "\"/home/ren\xc3\xa9/a,b.Scr\",1,9600\r\n");
}

TEST_F(OptionsFile, LeavesOutValuesTheFileCannotHold) {
    p.LngFile = "/x/say \"hi\".Scr";  // a quote would end the field early
    p.ComDevice = "/dev/tty\"1";      // falls back to the port number
    p.ComPort = 4;
    p.RecentFiles = {"/a.Cam", "/b\r\nc.Cam", "", "/d.Cam", "/e.Cam", "/f.Cam", "/g.Cam", "/h.Cam"};
    ASSERT_EQ(cam::WriteOptions(p).reason(), "");
    EXPECT_EQ(fileBytes(), "\"\",4,9600\r\n/a.Cam\r\n/d.Cam\r\n/e.Cam\r\n/f.Cam\r\n/g.Cam\r\n");
}

TEST_F(OptionsFile, RoundTripKeepsEveryValue) {
    p.LngFile = "/usr/share/camdesk/Z32px_ENG.SCR";
    p.ComDevice = "/dev/pts/7";
    p.ComSpeed = 38400;
    p.RecentFiles = {"/w/1.Cam", "/w/with, comma.Cam", "/w/3.Cam", "/w/4.Cam", "/w/5.Cam"};
    ASSERT_EQ(cam::WriteOptions(p).reason(), "");

    Program q;
    q.WorkDir = p.WorkDir;
    ASSERT_TRUE(cam::ReadOptions(q));
    EXPECT_EQ(std::tie(q.LngFile, q.ComDevice, q.ComSpeed, q.RecentFiles),
              std::tie(p.LngFile, p.ComDevice, p.ComSpeed, p.RecentFiles));
}

TEST_F(OptionsFile, ReadsPathPortSpeedAndTheFirstFiveRecentFiles) {
    using R = std::vector<std::string>;
    struct Case {
        const char* file;
        std::string lngFile, device;
        long port, speed;
        R recent;
    };
    const Case cases[] = {
        {"\"C:\\KOR\\Z32px_ENG.SCR\",3,19200\r\n", "C:\\KOR\\Z32px_ENG.SCR", "", 3, 19200, {}},
        {"\"L.Scr\",1,9600\r\n/1.Cam\r\n/2.Cam\r\n/3.Cam\r\n/4.Cam\r\n/5.Cam\r\n/6.Cam\r\n/7.Cam\r\n", "L.Scr", "", 1,
         9600, {"/1.Cam", "/2.Cam", "/3.Cam", "/4.Cam", "/5.Cam"}},
        {"\"L.Scr\",2,2400\n/1.Cam\n/2.Cam", "L.Scr", "", 2, 2400, {"/1.Cam", "/2.Cam"}},  // LF alone, no final end
        {"\"/data/a,b,c/Z.Scr\",5,38400\r\n", "/data/a,b,c/Z.Scr", "", 5, 38400, {}},
        {"\"L.Scr\",\"/dev/ttyUSB0\",9600\r\n", "L.Scr", "/dev/ttyUSB0", 1, 9600, {}},
        {"\"L.Scr\",\"COM4\",9600\r\n", "L.Scr", "", 4, 9600, {}},
        {"\"L.Scr\",\"com4\",9600\r/1.Cam\r", "L.Scr", "", 4, 9600, {"/1.Cam"}},  // CR alone ends a line
        {"\"L.Scr\" , 7 , 19200 \r\n", "L.Scr", "", 7, 19200, {}},
        {"\"/a,2,4800\r\n/r.Cam\r\n", "/a,2,4800", "", 1, 9600, {"/r.Cam"}},  // unclosed quote: rest of the line
        // Malformed numbers keep their defaults.
        {"\"L.Scr\",x,fast\r\n", "L.Scr", "", 1, 9600, {}},
        {"\"L.Scr\",0,-9600\r\n", "L.Scr", "", 1, 9600, {}},
        {"\"L.Scr\",2.5,96OO\r\n", "L.Scr", "", 1, 9600, {}},
        {"\"L.Scr\",,\r\n", "L.Scr", "", 1, 9600, {}},
        {"\"L.Scr\"\r\n", "L.Scr", "", 1, 9600, {}},
        {"\"L.Scr\",99999999999,123456789012\r\n", "L.Scr", "", 1, 9600, {}},
    };
    for (const Case& c : cases) {
        Program q;
        q.WorkDir = dir.str();
        q.RecentFiles = {"/stale.Cam"};
        givenFile(c.file);
        ASSERT_TRUE(cam::ReadOptions(q)) << c.file;
        EXPECT_EQ(std::tie(q.LngFile, q.ComDevice, q.ComPort, q.ComSpeed, q.RecentFiles),
                  std::tie(c.lngFile, c.device, c.port, c.speed, c.recent))
            << c.file;
    }
    for (auto [line1, port] : {std::pair{"\"L.Scr\",\"COM4\",9600\r\n", 4}, {"\"L.Scr\",6,9600\r\n", 6}}) {
        p.ComDevice = "/dev/ttyACM0";
        givenFile(line1);
        ASSERT_TRUE(cam::ReadOptions(p));
        EXPECT_EQ(p.ComPort, port);
        EXPECT_TRUE(p.ComDevice.empty()) << "COMn and a plain number select the port number again";
    }
}

TEST_F(OptionsFile, EmptyFileAndEmptyPathKeepDefaults) {
    p.LngFile = "/default/Z32px_ENG.SCR";
    givenFile("");
    ASSERT_TRUE(cam::ReadOptions(p));
    EXPECT_EQ(p.LngFile, "/default/Z32px_ENG.SCR");
    givenFile("\"\",2,9600\r\n\r\n/r.Cam\r\n");
    ASSERT_TRUE(cam::ReadOptions(p));
    EXPECT_EQ(p.LngFile, "/default/Z32px_ENG.SCR");
    EXPECT_EQ(p.RecentFiles, std::vector<std::string>{"/r.Cam"}) << "an empty line names no file";
}

TEST_F(OptionsFile, PathIsInTheWorkingFolder) {
    p.WorkDir = "/home/op/Zeto";
    EXPECT_EQ(cam::OptionsPath(p), "/home/op/Zeto/KlmPx_opt.def");
    p.WorkDir = "/home/op/Zeto/";
    EXPECT_EQ(cam::OptionsPath(p), "/home/op/Zeto/KlmPx_opt.def");
}

// The file is replaced by the same durable writer as the cam files (a failed rename is
// checked there); here a write that stops half-way.
TEST_F(OptionsFile, FailedWriteLeavesTheOldFileAndSaysWhy) {
    givenFile("\"old.Scr\",1,9600\r\n");
    p.LngFile = "/a/path/long/enough/to/pass/the/limit/new.Scr";
    // A file-size limit makes the write of the new content fail half-way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string reason = cam::WriteOptions(p).reason();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_NE(reason, "");
    EXPECT_EQ(fileBytes(), "\"old.Scr\",1,9600\r\n");
    EXPECT_EQ(EntriesOf(dir.str()), std::vector<std::string>{"KlmPx_opt.def"}) << "no temporary file is left";
}

TEST_F(OptionsFile, MissingWorkingFolderIsReported) {
    p.WorkDir = dir.file("no/such/folder");
    EXPECT_NE(cam::WriteOptions(p).reason(), "");
    EXPECT_FALSE(cam::ReadOptions(p));  // and a missing file keeps the defaults
    EXPECT_EQ(p.ComPort, 1);
    EXPECT_EQ(p.ComSpeed, 9600);
    EXPECT_TRUE(p.RecentFiles.empty());
}

}  // namespace
