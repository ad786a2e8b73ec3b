// The byte stream of an rfc2217:// port: telnet (RFC 854) with the COM port control option
// (RFC 2217). The line's bytes travel with the IAC byte doubled; commands, option
// negotiation and the server's answers to line settings travel between them. Pure rules:
// bytes from the server go in, the line's bytes and the replies the server is owed come out.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace cam {

namespace telnet {
inline constexpr unsigned char SE = 240, SB = 250, WILL = 251, WONT = 252, DO = 253, DONT = 254, IAC = 255;
inline constexpr unsigned char kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
}  // namespace telnet

// Client commands of the COM port option; the server answers each with its code + 100.
enum class ComPortCommand : unsigned char {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
};

class TelnetSession {
public:
    enum class Option { Pending, On, Refused };

    // What the client offers when the connection opens: binary both ways, no go-ahead, and
    // COM port control.
    std::string start();

    // Bytes from the server: the line's bytes are appended to data; answers to the server's
    // option requests wait in replies().
    void receive(std::string_view bytes, std::string& data);
    // The replies owed to the server, handed out once.
    std::string takeReplies();

    // The line's bytes as they go to the server.
    std::string escape(std::string_view data) const;

    // SET-BAUDRATE, SET-DATASIZE 8, SET-PARITY NONE, SET-STOPSIZE 1; forgets earlier answers.
    std::string lineSettings(long baud);
    // SET-CONTROL: hardware (RTS/CTS) or no flow control; RTS on or off. Servers on lines
    // without modem lines answer these as they can: the answers are advisory.
    static std::string flowControl(bool rtsCts);
    static std::string rts(bool on);

    Option comPort() const;
    // The server's answers to lineSettings(): complete once the last (stop size) came.
    struct LineAnswer {
        std::optional<long> baud;
        std::optional<int> dataSize, parity, stopSize;
    };
    const LineAnswer& lineAnswer() const { return answer_; }
    // "" when the answer matches what lineSettings(baud) asked for, else what the server set.
    std::string lineMismatch(long baud) const;

private:
    enum class Q : unsigned char { No, Yes, WantYes };  // one side of an option (RFC 1143)
    enum class State { Data, Iac, Verb, Sub, SubIac };
    void negotiate(unsigned char verb, unsigned char option);
    void subnegotiation();
    void reply(unsigned char verb, unsigned char option);

    std::array<Q, 256> us_{};   // options this side performs (WILL/WONT)
    std::array<Q, 256> him_{};  // options the server performs (DO/DONT)
    State state_ = State::Data;
    unsigned char verb_ = 0;
    bool afterCr_ = false;
    std::string sub_;
    std::string replies_;
    LineAnswer answer_;
};

// IAC SB COM-PORT-OPTION command value IAC SE, IAC doubled inside.
std::string ComPortRequest(ComPortCommand command, std::string_view value);

}  // namespace cam
