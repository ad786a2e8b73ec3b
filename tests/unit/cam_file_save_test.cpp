// Saving a cam file: the file is replaced whole or not at all.
#include "camfile/cam_file.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

cam::Program Example() {
    cam::Program p = camtest::MakeProgram(32, 7, 1);
    p.OutSize = 1;
    cam::SetPhase(p, 1, 2, 100, 200);
    return p;
}

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(CamFileSave, WritesTheWholeFileAndLeavesNoScratch) {
    camtest::ScratchFolder dir;
    cam::Program p = Example();
    p.CamFile = dir.file("a.Cam");
    dir.write("a.Cam", "OLD CONTENT THAT IS LONGER THAN THE NEW ONE " + std::string(300, '.'));
    EXPECT_EQ(cam::WriteCamFile(p).reason(), "");
    const std::string bytes = dir.read("a.Cam");
    EXPECT_EQ(bytes.substr(0, 19), "FUNZIONI  32 - 7 \r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 21), " FORMATO N. 07\r\nEND\r\n");
    EXPECT_EQ(bytes, cam::CamFileText(p));
    EXPECT_EQ(EntriesIn(dir.str()), 1u);
}

TEST(CamFileSave, FailureIsReportedAndKeepsThePreviousFile) {
    camtest::ScratchFolder dir;
    cam::Program p = Example();
    // No such folder: nothing can be created.
    EXPECT_NE(cam::WriteCamFile(p, dir.file("missing/a.Cam")).reason(), "");
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    // A folder where the file should be: the rename fails, the folder and its content stay.
    fs::create_directory(dir.file("b.Cam"));
    dir.write("b.Cam/keep", "kept");
    const std::string why = cam::WriteCamFile(p, dir.file("b.Cam")).reason();
    EXPECT_NE(why, "");
    EXPECT_EQ(dir.read("b.Cam/keep"), "kept");
    EXPECT_EQ(EntriesIn(dir.str()), 1u) << "the temporary file is removed";
    // No name at all.
    p.CamFile.clear();
    EXPECT_NE(cam::WriteCamFile(p).reason(), "");
}

TEST(CamFileSave, ReplacedFileKeepsItsPermissionsAndLinksSurvive) {
    camtest::ScratchFolder dir;
    cam::Program p = Example();
    const std::string target = dir.write("t.Cam", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(cam::WriteCamFile(p, target).reason(), "");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    fs::create_symlink("t.Cam", dir.file("link.Cam"));
    p.OutSize = 2;
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("link.Cam")).reason(), "");
    EXPECT_TRUE(fs::is_symlink(dir.file("link.Cam")));
    EXPECT_NE(dir.read("t.Cam").find("FORMATO IN USCITA    2 \r\n"), std::string::npos);
}

// A file the user may not write stays as it is, though its folder would allow the rename:
// the save fails with the system's reason.
TEST(CamFileSave, WriteProtectedFileIsNotReplaced) {
    camtest::ScratchFolder dir;
    cam::Program p = Example();
    const std::string target = dir.write("locked.Cam", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string why = cam::WriteCamFile(p, target).reason();
    EXPECT_NE(why.find("Permission denied"), std::string::npos) << why;
    EXPECT_EQ(dir.read("locked.Cam"), "old");
    EXPECT_EQ(EntriesIn(dir.str()), 1u);
}

// A new file gets the usual mode of the user's umask, which stays as it was.
TEST(CamFileSave, NewFileFollowsTheUmaskAndLeavesIt) {
    camtest::ScratchFolder dir;
    cam::Program p = Example();
    const mode_t old = ::umask(027);
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("new.Cam")).reason(), "");
    const mode_t after = ::umask(old);
    EXPECT_EQ(after, mode_t(027));
    EXPECT_EQ(fs::status(dir.file("new.Cam")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A save that was killed leaves its hidden temporary file; the next save of that file removes
// it, and nothing that is not one of its temporary files.
TEST(CamFileSave, WhatAKilledSaveLeftIsRemovedByTheNextSave) {
    camtest::ScratchFolder dir;
    cam::Program p = Example();
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
