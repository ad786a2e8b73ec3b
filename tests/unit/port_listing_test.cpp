// The port list of `camctl ports`: stable names found by where their links lead, the access
// verdict, and the table.
#include "core/link/port_listing.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace cam {
namespace {

TEST(PortListing, StableNamesAccessAndTable) {
    camtest::ScratchFolder dev;
    const std::string usb1 = dev.write("ttyUSB1", "");
    std::filesystem::create_directory(dev.file("by-id"));
    std::filesystem::create_symlink("../ttyUSB1", dev.file("by-id/usb-FTDI_FT232R_A1-if00-port0"));
    std::filesystem::create_symlink("../gone", dev.file("by-id/usb-old"));  // leads nowhere: left out
    const auto names = StableNames(dev.file("by-id"));
    EXPECT_EQ(names.size(), 1u);
    EXPECT_EQ(names.count(std::filesystem::canonical(usb1).string()), 1u);
    EXPECT_EQ(StableNames(dev.file("none")).size(), 0u);

    EXPECT_EQ(AccessText(true, "dialout", true), "yes");
    EXPECT_EQ(AccessText(false, "dialout", true), "no: not in group dialout");
    EXPECT_EQ(AccessText(false, "root", false), "no: only for its owner");

    EXPECT_EQ(PortTable({{"/dev/ttyUSB1", "FT232R USB UART", "/dev/serial/by-id/usb-F", "yes"},
                         {"/dev/ttyS0", "", "", "no: not in group dialout"}}),
              "DEVICE        DESCRIPTION      BY-ID                    ACCESS\n"
              "/dev/ttyUSB1  FT232R USB UART  /dev/serial/by-id/usb-F  yes\n"
              "/dev/ttyS0    -                -                        no: not in group dialout\n");
}

}  // namespace
}  // namespace cam
