// Port names, the port window, `camctl ports` and network ports with their telnet stream. The
// wire bytes are restated from RFC 854 and RFC 2217 here, not taken from the code under test.
#include "core/link/port_choice.h"
#include "core/link/network_port_name.h"
#include "core/link/port_listing.h"
#include "core/link/port_lock.h"
#include "core/link/port_name.h"
#include "core/link/telnet_com_port.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace cam {
namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

TEST(PortName, ComNumbersAndPaths) {
    Program p;
    // A port number shows as COMn; a path, as itself.
    auto names = [&p] { return PortDisplayName(p) + "|" + PortSystemName(p); };
    auto set = [&](const char* typed) {
        const bool taken = SetPortName(p, typed);
        return (taken ? "taken|" : "refused|") + names();
    };
    p.ComPort = 1;
    EXPECT_EQ(names(), "COM1|/dev/ttyS0");
    EXPECT_EQ(set(" /dev/ttyUSB0 "), "taken|/dev/ttyUSB0|/dev/ttyUSB0");
    EXPECT_EQ(set("COM12"), "taken|COM12|/dev/ttyS11");
    EXPECT_EQ(set("/dev/ttyS2"), "taken|COM3|/dev/ttyS2");  // the COM3 of this machine
    EXPECT_EQ(set("  "), "refused|COM3|/dev/ttyS2");
    const std::vector<std::pair<const char*, std::optional<long>>> numbers = {
        {"COM0", std::nullopt}, {"COMX", std::nullopt},   {"COM7", 7},           {"com4", 4},
        {"Com256", 256},        {"COM257", std::nullopt}, {"COM", std::nullopt}, {"CON4", std::nullopt}};
    for (auto [name, n] : numbers) EXPECT_EQ(ComNumber(name), n) << name;
    EXPECT_EQ(set("com4"), "taken|COM4|/dev/ttyS3");  // typed in lower case, the same port as COM4
}

TEST(PortLocks, LockFilesAndFlockHoldersAreRead) {
    for (auto [bytes, pid] : std::initializer_list<std::pair<std::string_view, std::optional<long>>>{
             {"      4711\n", 4711},          // ten columns, as minicom writes it
             {"4711\ncamctl\nhost\n", 4711},  // Qt's lock file
             {"", std::nullopt},
             {"   \n", std::nullopt},
             {"-5\n", std::nullopt},
             {"0000000000\n", std::nullopt}})
        EXPECT_EQ(LockFilePid(bytes), pid) << bytes;
    EXPECT_EQ(LockFilePaths("/dev/ttyUSB0"), (Strings{"/var/lock/LCK..ttyUSB0", "/run/lock/LCK..ttyUSB0"}));
    EXPECT_EQ(LockFilePaths("/dev/pts/3"),
              (Strings{"/var/lock/LCK..pts_3", "/var/lock/LCK..3", "/run/lock/LCK..pts_3", "/run/lock/LCK..3"}));
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

TEST_F(PortChoiceFixture, LoadSelectsTheStoredPortAndSpeedThenTheUsersChoice) {
    std::tie(p.ComPort, p.ComSpeed) = std::tuple(1, 19200);
    PortChoice c(p, ports);
    // COM1, not the COM10 listed before it.
    EXPECT_EQ(std::tuple(c.portIndex(), c.speedIndex(), p.ComPort), std::tuple(1, 2, 1));
    EXPECT_EQ(c.settingsLine(), "Current Settings: COM:1, 19200baud, NO parity, 8 bits, 1stop");
    c.selectPort(2);
    EXPECT_EQ(p.ComPort, 7);
    c.selectSpeed(0);
    EXPECT_EQ(std::tuple(p.ComSpeed, c.settingsLine()),
              std::tuple(2400L, "Current Settings: COM:7, 2400baud, NO parity, 8 bits, 1stop"));
    c.selectPort(3);
    EXPECT_EQ(std::tuple(p.ComDevice, c.settingsLine()),
              std::tuple("/dev/ttyUSB0", "Current Settings: /dev/ttyUSB0, 2400baud, NO parity, 8 bits, 1stop"));
    c.selectPort(9);  // outside the list: nothing
    EXPECT_EQ(c.portIndex(), 3);
}

TEST_F(PortChoiceFixture, TypedPortsUnknownSpeedsAndNoPorts) {
    p.ComSpeed = 4800;
    PortChoice c(p, ports);
    EXPECT_EQ(c.speedIndex(), -1);
    c.typePort("/dev/pts/4");
    EXPECT_EQ(std::tuple(p.ComDevice, c.portIndex()), std::tuple("/dev/pts/4", -1));
    c.typePort("USB Serial Port (COM7)");
    EXPECT_EQ(std::tuple(p.ComPort, p.ComDevice, c.portIndex()), std::tuple(7, "", 2));
    c.typePort("COM10");
    EXPECT_EQ(c.portIndex(), 0);
    // An empty list keeps the port.
    EXPECT_EQ((std::vector<long>{PortChoice(p, {}).portIndex(), p.ComPort}), (std::vector<long>{-1, 10}));
}

TEST(PortListing, StableNamesAccessAndTable) {
    camtest::ScratchFolder dev;
    const std::string usb1 = dev.write("ttyUSB1", "");
    std::filesystem::create_directory(dev.file("by-id"));
    std::filesystem::create_symlink("../ttyUSB1", dev.file("by-id/usb-FTDI_FT232R_A1-if00-port0"));
    std::filesystem::create_symlink("../gone", dev.file("by-id/usb-old"));  // leads nowhere: left out
    const auto names = StableNames(dev.file("by-id"));
    EXPECT_EQ(std::pair(names.size(), StableNames(dev.file("none")).size()), std::pair(std::size_t{1}, std::size_t{0}));
    EXPECT_EQ(names.count(std::filesystem::canonical(usb1).string()), 1u);

    EXPECT_EQ(AccessText(true, "dialout", true), "yes");
    EXPECT_EQ(AccessText(false, "dialout", true), "no: not in group dialout");
    EXPECT_EQ(AccessText(false, "root", false), "no: only for its owner");

    EXPECT_EQ(PortTable({{"/dev/ttyUSB1", "FT232R USB UART", "/dev/serial/by-id/usb-F", "yes"},
                         {"/dev/ttyS0", "", "", "no: not in group dialout"}}),
              "DEVICE        DESCRIPTION      BY-ID                    ACCESS\n"
              "/dev/ttyUSB1  FT232R USB UART  /dev/serial/by-id/usb-F  yes\n"
              "/dev/ttyS0    -                -                        no: not in group dialout\n");
}

TEST(NetworkPortName, WellFormedAndMalformedNames) {
    // A name and what it gives: "raw|HOST:PORT" or "rfc2217|HOST:PORT", or what the refusal says.
    const std::pair<const char*, const char*> rows[] = {
        {"tcp://127.0.0.1:4001", "raw|127.0.0.1:4001"},
        {"TCP://plant-server:65535/", "raw|plant-server:65535"},
        {"rfc2217://10.0.0.7:2217", "rfc2217|10.0.0.7:2217"},
        {"rfc2217://[::1]:7000", "rfc2217|[::1]:7000"},
        {"tcp://127.0.0.1", "no port number"},
        {"tcp://:4001", "no host"},
        {"tcp://host:0", "from 1 to 65535"},
        {"tcp://host:70000", "from 1 to 65535"},
        {"tcp://host:40x", "from 1 to 65535"},
        {"tcp://us er@host:1", "no host name or address"},
        {"/dev/ttyUSB0", "not a network port"},
    };
    for (auto [name, parts] : rows) {
        NetworkPortName n;
        const Result parsed = ParseNetworkPortName(name, n);
        const std::string got =
            parsed ? (n.protocol == NetworkPortName::Rfc2217 ? "rfc2217|" : "raw|") + n.where() : parsed.reason();
        EXPECT_NE(got.find(parts), std::string::npos) << name << " -> " << got;
        if (!parsed) {
            EXPECT_EQ(got.rfind(name, 0), 0u) << "the refusal names the port: " << got;
        }
    }
    // "tcp://x" is malformed, still never a device path.
    EXPECT_EQ((std::vector<bool>{IsNetworkPortName("tcp://x"), IsNetworkPortName("COM3"), SpeedApplies("tcp://h:1"),
                                 SpeedApplies("rfc2217://h:1"), SpeedApplies("/dev/ttyUSB0")}),
              (std::vector<bool>{true, false, false, true, true}));
}

// IAC SB COM-PORT-OPTION(44) code value IAC SE.
std::string Sb(std::string codeAndValue) { return "\xff\xfa\x2c"s + codeAndValue + "\xff\xf0"s; }

TEST(TelnetSession, OpensAskingForBinaryNoGoAheadAndComPortControl) {
    TelnetSession t;
    // WILL BINARY, WILL SGA, WILL COM-PORT, DO BINARY, DO SGA
    EXPECT_EQ(t.start(), "\xff\xfb\x00\xff\xfb\x03\xff\xfb\x2c\xff\xfd\x00\xff\xfd\x03"s);
    EXPECT_EQ(t.comPort(), TelnetSession::Option::Pending);
    std::string data;
    t.receive("\xff\xfd\x2c"s, data);  // DO COM-PORT: granted, nothing owed
    EXPECT_EQ(std::tuple(t.comPort(), t.takeReplies()), std::tuple(TelnetSession::Option::On, std::string()));
    TelnetSession refused;
    (void)refused.start();
    refused.receive("\xff\xfe\x2c"s, data);  // DONT COM-PORT
    EXPECT_EQ(std::tuple(refused.comPort(), data), std::tuple(TelnetSession::Option::Refused, std::string()));
}

TEST(TelnetSession, ServerBytesGiveTheLineAndTheRepliesOwed) {
    // what the server sent after start(), the line's bytes, the replies owed to the server
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {"ABC\r"s, "ABC\r", ""},
        {"\x02\xff\xff\x03"s, "\x02\xff\x03"s, ""},                   // IAC doubled is one 255
        {"\xff\xfb\001A"s, "A", "\xff\xfe\x01"s},                     // WILL ECHO: DONT ECHO
        {"\xff\xfd\x18"s, "", "\xff\xfc\x18"s},                       // DO TERMINAL-TYPE: WONT
        {"\xff\xfd\x00\xff\xfd\x00"s, "", ""},                        // what we asked for: no reply, no loop
        {"\xff\xfb\x03\xff\xfc\x03"s, "", "\xff\xfe\x03"s},           // WILL SGA, then WONT: DONT, once
        {"\xff\xf1X\xff\xf9"s, "X", ""},                              // NOP and GA carry nothing
        {Sb("\x6b\x30") + "Z", "Z", ""},                              // modem state notice: no data
        {"\xff\xfa\x2c\x65\x00\x00\x96\xff\xff\xff\xf0Q"s, "Q", ""},  // IAC inside a suboption
    };
    for (const auto& [from, line, owed] : rows) {
        TelnetSession t;
        (void)t.start();
        std::string data;
        // Byte by byte: a command split between two reads is still one command.
        for (char c : from) t.receive(std::string(1, c), data);
        EXPECT_EQ((Strings{data, t.takeReplies(), t.takeReplies()}), (Strings{line, owed, ""}));
    }
}

TEST(TelnetSession, OutsideBinaryModeACrTravelsAsCrNul) {
    TelnetSession t;
    (void)t.start();
    std::string data;
    t.receive("\xff\xfc\x00\xff\xfe\x00"s, data);  // the server refuses binary both ways
    t.receive("A\r\0B\r\n"s, data);
    EXPECT_EQ(data, "A\rB\r\n");
    EXPECT_EQ(t.escape("?M\x8c\r"), "?M\x8c\r\0"s);
    t.receive("\xff\xfb\x00\xff\xfd\x00"s, data);  // binary after all
    EXPECT_EQ(t.escape("\r\xff"), "\r\xff\xff"s);
}

TEST(TelnetSession, LineSettingsAndTheServersAnswers) {
    TelnetSession t;
    // 38400 = 0x00009600, 8 data bits, parity NONE (1), 1 stop bit (1).
    EXPECT_EQ(t.lineSettings(38400), Sb("\x01\x00\x00\x96\x00"s) + Sb("\x02\x08") + Sb("\x03\x01") + Sb("\x04\x01"));
    EXPECT_EQ(t.lineSettings(0xff), Sb("\x01\x00\x00\x00\xff\xff"s) + Sb("\x02\x08") + Sb("\x03\x01") +
                                        Sb("\x04\x01"));  // IAC doubled inside the value
    EXPECT_EQ((Strings{TelnetSession::flowControl(true), TelnetSession::flowControl(false), TelnetSession::rts(true),
                       TelnetSession::rts(false)}),
              (Strings{Sb("\x05\x03"), Sb("\x05\x01"), Sb("\x05\x0b"), Sb("\x05\x0c")}));

    std::string data;
    (void)t.lineSettings(38400);
    t.receive(Sb("\x65\x00\x00\x96\x00"s) + Sb("\x66\x08") + Sb("\x67\x01"), data);
    EXPECT_FALSE(t.lineAnswer().stopSize.has_value());
    t.receive(Sb("\x68\x01"), data);
    EXPECT_EQ(t.lineMismatch(38400), "");
    (void)t.lineSettings(19200);  // a server that kept its line at 9600, even parity
    t.receive(Sb("\x65\x00\x00\x25\x80"s) + Sb("\x66\x08") + Sb("\x67\x03") + Sb("\x68\x01"), data);
    EXPECT_EQ(t.lineMismatch(19200), "9600 bit/s, 8 data bits, even parity, 1 stop bit(s)");
    EXPECT_EQ(data, "");
}

}  // namespace
}  // namespace cam
