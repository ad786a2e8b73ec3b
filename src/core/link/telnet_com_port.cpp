#include "core/link/telnet_com_port.h"

#include "core/model/text_format.h"

#include <utility>

namespace cam {

using namespace telnet;

namespace {

constexpr std::size_t kMaxSubnegotiation = 64;  // a longer one is none of ours: dropped
constexpr unsigned char kCr = 13;

// The options each side takes on; every other request is declined.
bool WeDo(unsigned char option) { return option == kBinary || option == kSuppressGoAhead || option == kComPort; }
bool TheyDo(unsigned char option) { return option == kBinary || option == kSuppressGoAhead; }

std::string Byte(unsigned char b) { return std::string(1, static_cast<char>(b)); }

std::string Doubled(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out += c;
        if (static_cast<unsigned char>(c) == IAC) out += c;
    }
    return out;
}

unsigned Value(std::string_view bytes) {
    unsigned v = 0;
    for (char c : bytes) v = (v << 8) | static_cast<unsigned char>(c);
    return v;
}

}  // namespace

std::string ComPortRequest(ComPortCommand command, std::string_view value) {
    return Byte(IAC) + Byte(SB) + Byte(kComPort) + Byte(static_cast<unsigned char>(command)) + Doubled(value) +
           Byte(IAC) + Byte(SE);
}

std::string TelnetSession::start() {
    std::string out;
    for (unsigned char o : {kBinary, kSuppressGoAhead, kComPort}) {
        us_[o] = Q::WantYes;
        out += Byte(IAC) + Byte(WILL) + Byte(o);
    }
    for (unsigned char o : {kBinary, kSuppressGoAhead}) {
        him_[o] = Q::WantYes;
        out += Byte(IAC) + Byte(DO) + Byte(o);
    }
    return out;
}

void TelnetSession::reply(unsigned char verb, unsigned char option) {
    replies_ += Byte(IAC) + Byte(verb) + Byte(option);
}

// The Q method without queued changes of mind: a request is answered only when it changes
// the option's state, so the two sides never loop.
void TelnetSession::negotiate(unsigned char verb, unsigned char option) {
    const bool asksUs = verb == DO || verb == DONT;
    const bool enable = verb == DO || verb == WILL;
    Q& q = asksUs ? us_[option] : him_[option];
    const bool supported = asksUs ? WeDo(option) : TheyDo(option);
    const unsigned char yes = asksUs ? WILL : DO, no = asksUs ? WONT : DONT;
    if (enable) {
        if (q == Q::WantYes) {
            q = Q::Yes;
        } else if (q == Q::No) {
            if (supported) q = Q::Yes;
            reply(supported ? yes : no, option);
        }
    } else if (q != Q::No) {
        if (q == Q::Yes) reply(no, option);
        q = Q::No;
    }
}

void TelnetSession::subnegotiation() {
    if (sub_.size() < 3 || static_cast<unsigned char>(sub_[0]) != kComPort) return;
    const std::string_view value = std::string_view(sub_).substr(2);
    switch (static_cast<unsigned char>(sub_[1])) {
        case 101:
            if (value.size() == 4) answer_.baud = Value(value);
            break;
        case 102:
            answer_.dataSize = static_cast<unsigned char>(value[0]);
            break;
        case 103:
            answer_.parity = static_cast<unsigned char>(value[0]);
            break;
        case 104:
            answer_.stopSize = static_cast<unsigned char>(value[0]);
            break;
        default:
            break;  // modem and line state notices, flow control answers: advisory
    }
}

void TelnetSession::receive(std::string_view bytes, std::string& data) {
    const bool binary = him_[kBinary] == Q::Yes;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (state_) {
            case State::Data:
                if (c == IAC) {
                    state_ = State::Iac;
                } else if (!(c == 0 && afterCr_ && !binary)) {
                    data += ch;  // outside binary mode a CR travels as CR NUL: the NUL is no data
                }
                afterCr_ = c == kCr;
                break;
            case State::Iac:
                state_ = State::Data;
                afterCr_ = false;
                if (c == IAC) {
                    data += ch;
                } else if (c >= WILL) {
                    verb_ = c;
                    state_ = State::Verb;
                } else if (c == SB) {
                    sub_.clear();
                    state_ = State::Sub;
                }
                break;  // other commands (NOP, GA, AYT...) carry nothing for the line
            case State::Verb:
                negotiate(verb_, c);
                state_ = State::Data;
                break;
            case State::Sub:
                if (c == IAC)
                    state_ = State::SubIac;
                else if (sub_.size() < kMaxSubnegotiation)
                    sub_ += ch;
                break;
            case State::SubIac:
                if (c == IAC) {
                    if (sub_.size() < kMaxSubnegotiation) sub_ += ch;
                    state_ = State::Sub;
                } else {
                    if (c == SE) subnegotiation();
                    state_ = State::Data;
                }
                break;
        }
    }
}

std::string TelnetSession::takeReplies() { return std::exchange(replies_, {}); }

std::string TelnetSession::escape(std::string_view data) const {
    std::string out = Doubled(data);
    if (us_[kBinary] == Q::Yes) return out;
    std::string nvt;
    nvt.reserve(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        nvt += out[i];
        const bool lf = i + 1 < out.size() && out[i + 1] == '\n';
        if (static_cast<unsigned char>(out[i]) == kCr && !lf) nvt += '\0';
    }
    return nvt;
}

std::string TelnetSession::lineSettings(long baud) {
    answer_ = {};
    const auto b = static_cast<unsigned long>(baud);
    const std::string speed{static_cast<char>(b >> 24), static_cast<char>(b >> 16), static_cast<char>(b >> 8),
                            static_cast<char>(b)};
    return ComPortRequest(ComPortCommand::SetBaudRate, speed) + ComPortRequest(ComPortCommand::SetDataSize, "\x08") +
           ComPortRequest(ComPortCommand::SetParity, "\x01") + ComPortRequest(ComPortCommand::SetStopSize, "\x01");
}

std::string TelnetSession::flowControl(bool rtsCts) {
    return ComPortRequest(ComPortCommand::SetControl, rtsCts ? "\x03" : "\x01");
}

std::string TelnetSession::rts(bool on) { return ComPortRequest(ComPortCommand::SetControl, on ? "\x0b" : "\x0c"); }

TelnetSession::Option TelnetSession::comPort() const {
    switch (us_[kComPort]) {
        case Q::Yes:
            return Option::On;
        case Q::No:
            return Option::Refused;
        case Q::WantYes:
            break;
    }
    return Option::Pending;
}

std::string TelnetSession::lineMismatch(long baud) const {
    const LineAnswer& a = answer_;
    if (a.baud == baud && a.dataSize == 8 && a.parity == 1 && a.stopSize == 1) return "";
    const std::string parity[] = {"?", "no", "odd", "even", "mark", "space"};
    const int pi = a.parity.value_or(0);
    return CStr(static_cast<long>(a.baud.value_or(0))) + " bit/s, " + CStr(a.dataSize.value_or(0)) + " data bits, " +
           (pi >= 1 && pi <= 5 ? parity[pi] : "?") + " parity, " + CStr(a.stopSize.value_or(0)) + " stop bit(s)";
}

}  // namespace cam
