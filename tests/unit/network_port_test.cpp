// Network port names, and the telnet stream of rfc2217:// ports. The wire bytes are restated
// from RFC 854 and RFC 2217 here, not taken from the code under test.
#include "core/link/network_port_name.h"
#include "core/link/telnet_com_port.h"

#include <gtest/gtest.h>

namespace cam {
namespace {

using namespace std::string_literals;

TEST(NetworkPortName, WellFormedAndMalformedNames) {
    struct Row {
        const char* name;
        const char* parts;  // "raw|HOST:PORT" or "rfc2217|HOST:PORT", or what the refusal says
    };
    const Row rows[] = {
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
    for (const Row& r : rows) {
        NetworkPortName n;
        const Result parsed = ParseNetworkPortName(r.name, n);
        const std::string got = parsed ? (n.protocol == NetworkPortName::Rfc2217 ? "rfc2217|" : "raw|") + n.where()
                                       : parsed.reason();
        EXPECT_NE(got.find(r.parts), std::string::npos) << r.name << " -> " << got;
        if (!parsed) {
            EXPECT_EQ(got.rfind(r.name, 0), 0u) << "the refusal names the port: " << got;
        }
    }
    EXPECT_TRUE(IsNetworkPortName("tcp://x"));  // malformed, still never a device path
    EXPECT_FALSE(IsNetworkPortName("COM3"));
    EXPECT_FALSE(SpeedApplies("tcp://h:1"));
    EXPECT_TRUE(SpeedApplies("rfc2217://h:1"));
    EXPECT_TRUE(SpeedApplies("/dev/ttyUSB0"));
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
    EXPECT_EQ(t.comPort(), TelnetSession::Option::On);
    EXPECT_EQ(t.takeReplies(), "");
    TelnetSession refused;
    (void)refused.start();
    refused.receive("\xff\xfe\x2c"s, data);  // DONT COM-PORT
    EXPECT_EQ(refused.comPort(), TelnetSession::Option::Refused);
    EXPECT_EQ(data, "");
}

TEST(TelnetSession, ServerBytesGiveTheLineAndTheRepliesOwed) {
    struct Row {
        std::string from;     // what the server sent after start()
        std::string data;     // the line's bytes
        std::string replies;  // owed to the server
    };
    const Row rows[] = {
        {"ABC\r"s, "ABC\r", ""},
        {"\x02\xff\xff\x03"s, "\x02\xff\x03"s, ""},                  // IAC doubled is one 255
        {"\xff\xfb\x01" "A"s, "A", "\xff\xfe\x01"s},                 // WILL ECHO: DONT ECHO
        {"\xff\xfd\x18"s, "", "\xff\xfc\x18"s},                      // DO TERMINAL-TYPE: WONT
        {"\xff\xfd\x00\xff\xfd\x00"s, "", ""},                       // what we asked for: no reply, no loop
        {"\xff\xfb\x03\xff\xfc\x03"s, "", "\xff\xfe\x03"s},          // WILL SGA, then WONT: DONT, once
        {"\xff\xf1" "X\xff\xf9"s, "X", ""},                           // NOP and GA carry nothing
        {Sb("\x6b\x30") + "Z", "Z", ""},                            // modem state notice: no data
        {"\xff\xfa\x2c\x65\x00\x00\x96\xff\xff\xff\xf0" "Q"s, "Q", ""},  // IAC inside a suboption
    };
    for (const Row& r : rows) {
        TelnetSession t;
        (void)t.start();
        std::string data;
        // Byte by byte: a command split between two reads is still one command.
        for (char c : r.from) t.receive(std::string(1, c), data);
        EXPECT_EQ(data, r.data);
        EXPECT_EQ(t.takeReplies(), r.replies);
        EXPECT_EQ(t.takeReplies(), "");
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
    EXPECT_EQ(TelnetSession::flowControl(true), Sb("\x05\x03"));
    EXPECT_EQ(TelnetSession::flowControl(false), Sb("\x05\x01"));
    EXPECT_EQ(TelnetSession::rts(true), Sb("\x05\x0b"));
    EXPECT_EQ(TelnetSession::rts(false), Sb("\x05\x0c"));

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
