// The serial link: opening the port, the command exchange and framed blocks with the cam
// programmer. Plain sequential code over SerialPort, Clock and Prompt; every wait sleeps on
// the port until bytes arrive or the deadline passes.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/result.h"
#include "core/link/serial_port.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cam {

// Control characters of the block protocol.
inline constexpr char STX = 2;
inline constexpr char ETX = 3;
inline constexpr char ACK = 6;
inline constexpr char CR = 13;
inline constexpr char LF = 10;

inline constexpr int kCommandTimeoutMs = 2000;       // command line to reply line
inline constexpr int kBlockAnswerMs = 3000;          // block to acknowledgement, and between characters
inline constexpr int kFirstBlockMs = 30000;          // the device may take this long to start sending
inline constexpr int kMaxBlockResends = 10;          // a block the device keeps refusing is given up
inline constexpr std::size_t kMaxBlockBytes = 4096;  // a longer run without a frame end is noise

// One exchange's view of the device line: the port, the clock, where messages go, and the
// link's own state.
struct Link {
    Link(SerialPort& port_, Clock& clock_, Prompt& prompt_) : port(port_), clock(clock_), prompt(prompt_) {}
    SerialPort& port;
    Clock& clock;
    Prompt& prompt;
    // Result of the last OpenPort: 0 open and CTS present; 1 CTS absent (port closed again);
    // 2 or more: a step failed and was told (its error number, at least 2).
    int PortStatus = 0;
    std::int64_t ComDeadline = 0;   // when the wait in progress gives up
    bool InDevEnvironment = false;  // development trace of sent blocks in WorkDir/TST.TXT
};

// Opens the port named by ComPort/ComDevice when it is closed; always sets the speed and
// RTS/CTS flow control and checks CTS. Failures show "Errore ..." and set PortStatus (the
// result tells the same: callers give up without a further message).
Result OpenPort(Program& p, Link& link);
// "Errore <code> generato da <source>" and the description, titled "Errore su <port>"; sets
// PortStatus to the error number.
void ShowPortError(const Program& p, Link& link, const PortError& e);
void ClosePort(Link& link);
// "TIMEOUT SERIAL PORT ": an exchange ends here. When the line went away under it (the port
// closed: a hung-up line, a dropped connection) a second message tells why.
void ShowTimeout(const Program& p, Link& link);

// 8-bit sum of the command's characters, +32 when below 32.
char CommandChecksum(std::string_view command);
// XOR of the frame from the character after STX up to and including the first ETX,
// +32 when below 32. Characters after that ETX are ignored.
char BlockChecksum(std::string_view frame);
// STX, text, ETX, checksum.
std::string BlockFrame(std::string_view text);
// "19200,n,8,1".
std::string PortSettingsText(long speed);

// Sends the command with its checksum and CR; returns the reply up to and including its line
// end (blanks around it removed), or "" after 2 s without a line end (port closed, ReadError
// set). An echo of the command sets ReadError and is returned.
std::string SerialComStr(Program& p, Link& link, std::string_view command);

enum class SendResult {
    Acked,     // the device acknowledged the block
    Answered,  // "END" answered with something other than ACK: not repeated
    TimedOut,  // no answer within 3 s: "TIMEOUT SERIAL PORT " shown, the transfer may go on
    Refused,   // refused more than kMaxBlockResends times: the block named, abandon the transfer
    PortLost,  // the port went away or is closed: message shown once, abandon the transfer
};
SendResult SendBlock(Program& p, Link& link, std::string_view text);

// One framed block, read until the character after its ETX. Bytes after the block's
// checksum stay in the port for the next call.
struct [[nodiscard]] ReceivedBlock {
    enum Outcome {
        Block,     // a frame whose checksum matches: text is its content (ACK sent)
        BadFrame,  // a complete frame with a wrong checksum or no STX (ACK still sent)
        Silent,    // nothing more within the deadline (30 s at first, 3 s between characters)
        Overflow,  // kMaxBlockBytes without a frame end: noise, not a block
        PortLost,  // the port went away
    } outcome = Silent;
    std::string text;  // Block: the block's text; otherwise what arrived, raw
    bool ok() const { return outcome == Block; }
};
ReceivedBlock ReceiveBlock(Link& link);

}  // namespace cam
