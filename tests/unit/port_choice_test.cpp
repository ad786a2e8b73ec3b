// Port names and the form model of the port window.
#include "link/port_choice.h"
#include "link/port_name.h"

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
    for (auto [name, n] : std::initializer_list<std::pair<const char*, std::optional<long>>>{
             {"COM0", std::nullopt}, {"COMX", std::nullopt}, {"COM7", 7}, {"com4", 4}, {"Com256", 256},
             {"COM257", std::nullopt}, {"COM", std::nullopt}, {"CON4", std::nullopt}})
        EXPECT_EQ(ComNumber(name), n) << name;
    EXPECT_TRUE(SetPortName(p, "com4"));  // typed in lower case, the same port as COM4
    EXPECT_EQ(PortDisplayName(p) + "|" + PortSystemName(p), "COM4|/dev/ttyS3");
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
