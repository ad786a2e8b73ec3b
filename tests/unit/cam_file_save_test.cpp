// Saving a cam file: the file is replaced whole or not at all.
#include "core/camfile/cam_file.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A small program saved into a scratch folder.
struct CamFileSave : ::testing::Test {
    CamFileSave() {
        p.OutSize = 1;
        cam::SetPhase(p, 1, 2, 100, 200);
    }
    camtest::ScratchFolder dir;
    cam::Program p = camtest::MakeProgram(32, 7, 1);
};

TEST_F(CamFileSave, ReplacesTheWholeFileKeepsItsPermissionsAndLeavesNoScratch) {
    p.CamFile = dir.write("a.Cam", "OLD CONTENT THAT IS LONGER THAN THE NEW ONE " + std::string(300, '.'));
    fs::permissions(p.CamFile, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(cam::WriteCamFile(p).reason(), "");
    EXPECT_EQ(dir.read("a.Cam"), cam::CamFileText(p));
    EXPECT_EQ(fs::status(p.CamFile).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(EntriesIn(dir.str()), 1u);
}

TEST_F(CamFileSave, FailureIsReportedAndKeepsThePreviousFile) {
    // No such folder: nothing can be created.
    EXPECT_NE(cam::WriteCamFile(p, dir.file("missing/a.Cam")).reason(), "");
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    // A folder where the file should be: the rename fails, the folder and its content stay.
    fs::create_directory(dir.file("b.Cam"));
    dir.write("b.Cam/keep", "kept");
    EXPECT_NE(cam::WriteCamFile(p, dir.file("b.Cam")).reason(), "");
    EXPECT_EQ(dir.read("b.Cam/keep"), "kept");
    EXPECT_EQ(EntriesIn(dir.str()), 1u) << "the temporary file is removed";
    // No name at all.
    p.CamFile.clear();
    EXPECT_NE(cam::WriteCamFile(p).reason(), "");
}

// Links stay links, and the real file at the end of their chain is saved; a loop is refused
// and changes nothing.
TEST_F(CamFileSave, LinksAreFollowedToTheRealFileAndStayLinks) {
    dir.write("real.Cam", "old");
    fs::create_directory(dir.file("sub"));
    fs::create_symlink("../real.Cam", dir.file("sub/middle.Cam"));  // relative to its own folder
    fs::create_symlink("sub/middle.Cam", dir.file("first.Cam"));
    fs::create_symlink("new.Cam", dir.file("dangling.Cam"));
    fs::create_symlink("loop2.Cam", dir.file("loop1.Cam"));
    fs::create_symlink("loop1.Cam", dir.file("loop2.Cam"));
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("first.Cam")).reason(), "");
    EXPECT_EQ(dir.read("real.Cam"), cam::CamFileText(p));
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("dangling.Cam")).reason(), "");
    EXPECT_EQ(dir.read("new.Cam"), cam::CamFileText(p));
    EXPECT_THAT(cam::WriteCamFile(p, dir.file("loop1.Cam")).reason(),
                ::testing::HasSubstr("Too many levels of symbolic links"));
    for (const char* link : {"first.Cam", "sub/middle.Cam", "dangling.Cam", "loop1.Cam", "loop2.Cam"})
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
    EXPECT_EQ(EntriesIn(dir.str()), 7u) << "no temporary file is left";
}

// In a shared folder with the sticky bit the system follows a link only for its owner or the
// folder's: a link another user planted there never makes a save overwrite that user's file.
TEST_F(CamFileSave, ALinkOfAnotherUserInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "a second user's link needs root to make";
    const std::string victim = dir.write("victim.Cam", "theirs");
    fs::create_directory(dir.file("shared"));
    fs::permissions(dir.file("shared"), fs::perms::all | fs::perms::sticky_bit);
    const std::string planted = dir.file("shared/planted.Cam");
    fs::create_symlink(victim, planted);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_THAT(cam::WriteCamFile(p, planted).reason(),
                ::testing::HasSubstr("is a link of another user in a shared folder"));
    EXPECT_EQ(dir.read("victim.Cam"), "theirs");
    ASSERT_EQ(::lchown(planted.c_str(), 0, 0), 0);  // one's own link is followed
    EXPECT_EQ(cam::WriteCamFile(p, planted).reason(), "");
    EXPECT_EQ(dir.read("victim.Cam"), cam::CamFileText(p));
}

// A device or a FIFO is written in place and stays what it is (as root, a rename over
// /dev/null would make it a file); a FIFO that no program reads is refused without waiting.
TEST_F(CamFileSave, DevicesAndFifosAreWrittenInPlace) {
    EXPECT_EQ(cam::WriteCamFile(p, "/dev/null").reason(), "");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    const std::string fifo = dir.file("pipe.Cam");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(cam::WriteCamFile(p, fifo).reason(), "cannot write " + fifo + ": no program reads from it");
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(cam::WriteCamFile(p, fifo).reason(), "");
    std::string got(4096, '\0');
    got.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, got.data(), got.size()))));
    ::close(reader);
    EXPECT_EQ(got, cam::CamFileText(p));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(EntriesIn(dir.str()), 1u);
}

// A file the user may not write stays as it is, though its folder would allow the rename:
// the save fails with the system's reason.
TEST_F(CamFileSave, WriteProtectedFileIsNotReplaced) {
    const std::string target = dir.write("locked.Cam", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string why = cam::WriteCamFile(p, target).reason();
    EXPECT_NE(why.find("Permission denied"), std::string::npos) << why;
    EXPECT_EQ(dir.read("locked.Cam"), "old");
    EXPECT_EQ(EntriesIn(dir.str()), 1u);
}

// A new file gets the usual mode of the user's umask, which stays as it was.
TEST_F(CamFileSave, NewFileFollowsTheUmaskAndLeavesIt) {
    const mode_t old = ::umask(027);
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("new.Cam")).reason(), "");
    const mode_t after = ::umask(old);
    EXPECT_EQ(after, mode_t(027));
    EXPECT_EQ(fs::status(dir.file("new.Cam")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A save that was killed leaves its hidden temporary file; the next save of that file removes
// it, and nothing that is not one of its temporary files.
TEST_F(CamFileSave, WhatAKilledSaveLeftIsRemovedByTheNextSave) {
    dir.write(".a.Cam.Xy12Ab34", std::string(1000, 'x'));
    dir.write(".a.Cam.bak", "mine");
    dir.write(".b.Cam.Xy12Ab34", "another file's");
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("a.Cam")).reason(), "");
    EXPECT_FALSE(fs::exists(dir.file(".a.Cam.Xy12Ab34")));
    EXPECT_TRUE(fs::exists(dir.file(".a.Cam.bak")));
    EXPECT_TRUE(fs::exists(dir.file(".b.Cam.Xy12Ab34")));
    EXPECT_EQ(dir.read("a.Cam"), cam::CamFileText(p));
}

}  // namespace
