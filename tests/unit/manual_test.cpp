// Which manual the information window opens.
#include "core/model/manual.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A site's own edition in the working folder comes first, then the program's own.
TEST(Manual, WorkingFolderCopyFirstThenTheProgramsOwn) {
    camtest::ScratchFolder dir;
    std::filesystem::create_directories(dir.file("work"));
    std::filesystem::create_directories(dir.file("bin"));
    cam::Program p;
    p.WorkDir = dir.file("work");
    EXPECT_EQ(cam::ManualPath(p, dir.file("bin")), "");
    const std::string shipped = dir.write(std::string("bin/") + cam::kManualName, "%PDF");
    EXPECT_EQ(cam::ManualPath(p, dir.file("bin")), shipped);
    const std::string own = dir.write(std::string("work/") + cam::kSiteManualName, "%PDF");
    EXPECT_EQ(cam::ManualPath(p, dir.file("bin")), own);
}

}  // namespace
