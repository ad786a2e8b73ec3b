// The files of the working folder: the options file, and which manual the information
// window opens.
#include "core/model/options.h"
#include "core/model/manual.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace {

using cam::Program;
using Strings = std::vector<std::string>;

struct OptionsFile : ::testing::Test {
    camtest::ScratchFolder dir;
    Program p;
    void SetUp() override { p.WorkDir = dir.str(); }
    void givenFile(std::string_view bytes) { dir.write("KlmPx_opt.def", bytes); }
    std::string fileBytes() const { return dir.read("KlmPx_opt.def"); }
};

// The quoted path as it is, port or device, speed, then the recent files, newest first, read back as
// written. Values the file cannot hold are left out: a device path then falls back to the port number.
TEST_F(OptionsFile, WritesQuotedPathPortSpeedThenRecentFiles) {
    // Path, device, port, speed and recent files; the bytes written; whether all of it reads back.
    using Case = std::tuple<std::string, std::string, long, long, Strings, std::string, bool>;
    const Strings eight = {"/a.Cam", "/b\r\nc.Cam", "", "/d", "/e", "/f", "/g", "/h"};
    const Case cases[] = {
        {"/Z.SCR", "", 2, 19200, {"/c.Cam", "/b, c.Cam"}, "\"/Z.SCR\",2,19200\r\n/c.Cam\r\n/b, c.Cam\r\n", true},
        {"/x/L.Scr", "/dev/ttyUSB0", 3, 38400, {}, "\"/x/L.Scr\",\"/dev/ttyUSB0\",38400\r\n", true},
        {"/home/ren\xc3\xa9/a,b.Scr", "", 1, 9600, {}, "\"/home/ren\xc3\xa9/a,b.Scr\",1,9600\r\n", true},
        {"/x/say \"hi\".Scr", "/dev/tty\"1", 4, 9600, eight, "\"\",4,9600\r\n/a.Cam\r\n/d\r\n/e\r\n/f\r\n/g\r\n",
         false},
    };
    for (const auto& [lngFile, device, port, speed, recent, bytes, readBack] : cases) {
        SCOPED_TRACE(bytes);
        std::tie(p.LngFile, p.ComDevice, p.ComPort, p.ComSpeed, p.RecentFiles) =
            std::tie(lngFile, device, port, speed, recent);
        ASSERT_EQ(cam::WriteOptions(p).reason(), "");
        EXPECT_EQ(fileBytes(), bytes);
        Program q;
        q.WorkDir = p.WorkDir;
        ASSERT_TRUE(cam::ReadOptions(q));
        if (readBack) {
            EXPECT_EQ(std::tie(q.LngFile, q.ComDevice, q.ComSpeed, q.RecentFiles),
                      std::tie(p.LngFile, p.ComDevice, p.ComSpeed, p.RecentFiles));
        }
    }
}

TEST_F(OptionsFile, ReadsPathPortSpeedAndTheFirstFiveRecentFiles) {
    // Every read starts from a device path and a stale recent file: the file's port number
    // selects the port number again, and the file's recent files replace the list.
    // The file, then the path, device, port, speed and recent files read from it.
    using Case = std::tuple<std::string, std::string, std::string, long, long, Strings>;
    const std::string acm0 = "/dev/ttyACM0";
    const std::string seven = "/1.Cam\r\n/2.Cam\r\n/3.Cam\r\n/4.Cam\r\n/5.Cam\r\n/6.Cam\r\n/7.Cam\r\n";
    const Case cases[] = {
        {"\"C:\\KOR\\Z32px_ENG.SCR\",3,19200\r\n", "C:\\KOR\\Z32px_ENG.SCR", "", 3, 19200, {}},
        {"\"L.Scr\",1,9600\r\n" + seven, "L.Scr", "", 1, 9600, {"/1.Cam", "/2.Cam", "/3.Cam", "/4.Cam", "/5.Cam"}},
        {"\"L.Scr\",2,2400\n/1.Cam\n/2.Cam", "L.Scr", "", 2, 2400, {"/1.Cam", "/2.Cam"}},  // LF alone, no final end
        {"\"/data/a,b,c/Z.Scr\",5,38400\r\n", "/data/a,b,c/Z.Scr", "", 5, 38400, {}},
        {"\"L.Scr\",\"/dev/ttyUSB0\",9600\r\n", "L.Scr", "/dev/ttyUSB0", 1, 9600, {}},
        {"\"L.Scr\",\"COM4\",9600\r\n", "L.Scr", "", 4, 9600, {}},
        {"\"L.Scr\",\"com4\",9600\r/1.Cam\r", "L.Scr", "", 4, 9600, {"/1.Cam"}},  // CR alone ends a line
        {"\"L.Scr\" , 7 , 19200 \r\n", "L.Scr", "", 7, 19200, {}},
        {"\"/a,2,4800\r\n/r.Cam\r\n", "/a,2,4800", acm0, 1, 9600, {"/r.Cam"}},  // unclosed quote: rest of the line
        // Malformed numbers keep the values before.
        {"\"L.Scr\",x,fast\r\n", "L.Scr", acm0, 1, 9600, {}},
        {"\"L.Scr\",0,-9600\r\n", "L.Scr", acm0, 1, 9600, {}},
        {"\"L.Scr\",2.5,96OO\r\n", "L.Scr", acm0, 1, 9600, {}},
        {"\"L.Scr\",,\r\n", "L.Scr", acm0, 1, 9600, {}},
        {"\"L.Scr\"\r\n", "L.Scr", acm0, 1, 9600, {}},
        {"\"L.Scr\",99999999999,123456789012\r\n", "L.Scr", acm0, 1, 9600, {}},
    };
    for (const auto& [file, lngFile, device, port, speed, recent] : cases) {
        Program q;
        std::tie(q.WorkDir, q.ComDevice, q.RecentFiles) = std::tuple(dir.str(), acm0, Strings{"/stale.Cam"});
        givenFile(file);
        ASSERT_TRUE(cam::ReadOptions(q)) << file;
        EXPECT_EQ(std::tie(q.LngFile, q.ComDevice, q.ComPort, q.ComSpeed, q.RecentFiles),
                  std::tie(lngFile, device, port, speed, recent))
            << file;
    }
}

TEST_F(OptionsFile, EmptyFileAndEmptyPathKeepDefaults) {
    p.LngFile = "/default/Z32px_ENG.SCR";
    givenFile("");
    ASSERT_TRUE(cam::ReadOptions(p));
    EXPECT_EQ(p.LngFile, "/default/Z32px_ENG.SCR");
    givenFile("\"\",2,9600\r\n\r\n/r.Cam\r\n");
    ASSERT_TRUE(cam::ReadOptions(p));
    // An empty line names no file.
    EXPECT_EQ(std::tie(p.LngFile, p.RecentFiles), std::tuple("/default/Z32px_ENG.SCR", Strings{"/r.Cam"}));
}

// A site's own edition of the manual in the working folder comes first, then the program's own.
TEST_F(OptionsFile, ManualInTheWorkingFolderFirstThenTheProgramsOwn) {
    std::filesystem::create_directories(dir.file("bin"));
    EXPECT_EQ(cam::ManualPath(p, dir.file("bin")), "");
    const std::string shipped = dir.write(std::string("bin/") + cam::kManualName, "%PDF");
    EXPECT_EQ(cam::ManualPath(p, dir.file("bin")), shipped);
    const std::string own = dir.write(cam::kSiteManualName, "%PDF");
    EXPECT_EQ(cam::ManualPath(p, dir.file("bin")), own);
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
    const struct rlimit small = {20, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string reason = cam::WriteOptions(p).reason();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_NE(reason, "");
    // The old file, and no temporary file left beside it.
    EXPECT_EQ(std::tuple(fileBytes(), std::ranges::distance(std::filesystem::directory_iterator(dir.str()))),
              std::tuple("\"old.Scr\",1,9600\r\n", 1));
}

TEST_F(OptionsFile, MissingWorkingFolderIsReported) {
    p.WorkDir = dir.file("no/such/folder");
    EXPECT_NE(cam::WriteOptions(p).reason(), "");
    EXPECT_FALSE(cam::ReadOptions(p));  // and a missing file keeps the defaults
    EXPECT_EQ(std::tie(p.ComPort, p.ComSpeed, p.RecentFiles), std::tuple(1, 9600, Strings{}));
}

}  // namespace
