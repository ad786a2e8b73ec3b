// Port names and the form model of the port window.
#include "core/link/port_choice.h"
#include "core/link/port_lock.h"
#include "core/link/port_name.h"

#include <gtest/gtest.h>

namespace cam {
namespace {

TEST(PortName, ComNumbersAndPaths) {
    Program p;
    p.ComPort = 1;
    EXPECT_EQ(PortDisplayName(p) + "|" + PortSystemName(p), "COM1|/dev/ttyS0");
    EXPECT_TRUE(SetPortName(p, " /dev/ttyUSB0 "));
    EXPECT_EQ(p.ComDevice, "/dev/ttyUSB0");
    EXPECT_EQ(PortDisplayName(p) + "|" + PortSystemName(p), "/dev/ttyUSB0|/dev/ttyUSB0");
    EXPECT_TRUE(SetPortName(p, "COM12"));
    EXPECT_EQ(p.ComPort, 12);
    EXPECT_EQ(p.ComDevice, "");
    EXPECT_EQ(PortSystemName(p), "/dev/ttyS11");
    EXPECT_TRUE(SetPortName(p, "/dev/ttyS2"));  // the COM3 of this machine
    EXPECT_EQ(p.ComPort, 3);
    EXPECT_EQ(p.ComDevice, "");
    EXPECT_FALSE(SetPortName(p, "  "));
    EXPECT_EQ(p.ComPort, 3);
    for (auto [name, n] : std::initializer_list<std::pair<const char*, std::optional<long>>>{{"COM0", std::nullopt},
                                                                                             {"COMX", std::nullopt},
                                                                                             {"COM7", 7},
                                                                                             {"com4", 4},
                                                                                             {"Com256", 256},
                                                                                             {"COM257", std::nullopt},
                                                                                             {"COM", std::nullopt},
                                                                                             {"CON4", std::nullopt}})
        EXPECT_EQ(ComNumber(name), n) << name;
    EXPECT_TRUE(SetPortName(p, "com4"));  // typed in lower case, the same port as COM4
    EXPECT_EQ(PortDisplayName(p) + "|" + PortSystemName(p), "COM4|/dev/ttyS3");
}

// Other programs' claims on a port, as they write them.
TEST(PortLocks, LockFilesAndFlockHoldersAreRead) {
    for (auto [bytes, pid] : std::initializer_list<std::pair<std::string_view, std::optional<long>>>{
             {"      4711\n", 4711},          // ten columns, as minicom writes it
             {"4711\ncamctl\nhost\n", 4711},  // Qt's lock file
             {"", std::nullopt},
             {"   \n", std::nullopt},
             {"-5\n", std::nullopt},
             {"0000000000\n", std::nullopt}})
        EXPECT_EQ(LockFilePid(bytes), pid) << bytes;
    EXPECT_EQ(LockFilePaths("/dev/ttyUSB0"),
              (std::vector<std::string>{"/var/lock/LCK..ttyUSB0", "/run/lock/LCK..ttyUSB0"}));
    EXPECT_EQ(LockFilePaths("/dev/pts/3"), (std::vector<std::string>{"/var/lock/LCK..pts_3", "/var/lock/LCK..3",
                                                                     "/run/lock/LCK..pts_3", "/run/lock/LCK..3"}));
    const std::string locks =
        "1: POSIX  ADVISORY  WRITE 900 08:01:77 0 EOF\n"
        "2: FLOCK  ADVISORY  WRITE 4711 00:1a:3 0 EOF\n"
        "2: -> FLOCK  ADVISORY  WRITE 4712 00:1a:3 0 EOF\n";  // a waiting request holds nothing
    EXPECT_EQ(FlockHolder(locks, 0x00, 0x1a, 3), 4711);
    EXPECT_EQ(FlockHolder(locks, 8, 1, 77), 900);
    EXPECT_EQ(FlockHolder(locks, 0x00, 0x1a, 4), std::nullopt);
}

TEST(PortEntries, CaptionsCarryThePortName) {
    PortEntry usb = MakePortEntry("ttyUSB0", "FT232R USB UART", "/dev/ttyUSB0");
    EXPECT_EQ(usb.caption + "|" + usb.name, "ttyUSB0 FT232R USB UART (/dev/ttyUSB0)|/dev/ttyUSB0");
    PortEntry s0 = MakePortEntry("ttyS0", "", "/dev/ttyS0");
    EXPECT_EQ(s0.caption + "|" + s0.name, "ttyS0 (COM1)|COM1");
}

struct PortChoiceFixture : ::testing::Test {
    Program p;
    std::vector<PortEntry> ports{{"ttyS9 (COM10)", "COM10"},
                                 {"ttyS0 (COM1)", "COM1"},
                                 {"USB Serial Port (COM7)", "COM7"},
                                 {"ttyUSB0 FT232R (/dev/ttyUSB0)", "/dev/ttyUSB0"}};
};

TEST_F(PortChoiceFixture, LoadSelectsTheStoredPortAndSpeed) {
    p.ComPort = 1;
    p.ComSpeed = 19200;
    PortChoice c(p, ports);
    EXPECT_EQ(c.portIndex(), 1);  // COM1, not the COM10 listed before it
    EXPECT_EQ(c.speedIndex(), 2);
    EXPECT_EQ(p.ComPort, 1);
    EXPECT_EQ(c.settingsLine(), "Current Settings: COM:1, 19200baud, NO parity, 8 bits, 1stop");
}

TEST_F(PortChoiceFixture, SelectingAPortAndSpeed) {
    PortChoice c(p, ports);
    c.selectPort(2);
    EXPECT_EQ(p.ComPort, 7);
    c.selectSpeed(0);
    EXPECT_EQ(p.ComSpeed, 2400);
    EXPECT_EQ(c.settingsLine(), "Current Settings: COM:7, 2400baud, NO parity, 8 bits, 1stop");
    c.selectPort(3);
    EXPECT_EQ(p.ComDevice, "/dev/ttyUSB0");
    EXPECT_EQ(c.settingsLine(), "Current Settings: /dev/ttyUSB0, 2400baud, NO parity, 8 bits, 1stop");
    c.selectPort(9);  // outside the list: nothing
    EXPECT_EQ(c.portIndex(), 3);
}

TEST_F(PortChoiceFixture, TypedPortsAndUnknownSpeeds) {
    p.ComSpeed = 4800;
    PortChoice c(p, ports);
    EXPECT_EQ(c.speedIndex(), -1);
    c.typePort("/dev/pts/4");
    EXPECT_EQ(p.ComDevice, "/dev/pts/4");
    EXPECT_EQ(c.portIndex(), -1);
    c.typePort("USB Serial Port (COM7)");
    EXPECT_EQ(p.ComPort, 7);
    EXPECT_EQ(p.ComDevice, "");
    EXPECT_EQ(c.portIndex(), 2);
    c.typePort("COM10");
    EXPECT_EQ(c.portIndex(), 0);
}

TEST_F(PortChoiceFixture, EmptyListKeepsThePort) {
    p.ComPort = 4;
    EXPECT_EQ(PortChoice(p, {}).portIndex(), -1);
    EXPECT_EQ(p.ComPort, 4);
}

}  // namespace
}  // namespace cam
