// The simulated cam programmer: bytes from the line in, bytes for the line out. Written
// apart from the tool's codecs on purpose, so that the two sides check each other.
#pragma once

#include "block_intake.h"
#include "device_memory.h"
#include "firmware.h"
#include "frame.h"
#include "sim_options.h"

#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace camsim {

// Bytes to send, after the device has thought for delayMs.
struct Reply {
    long delayMs = 0;
    std::string bytes;
};
using Replies = std::vector<Reply>;

class Device {
public:
    // Loads the memory from the state folder when there is one (a damaged state is reported
    // on standard error and the memory starts empty).
    explicit Device(Options options);

    // Takes what arrived on the line; returns what the device sends back, in order.
    Replies receive(std::string_view bytes);
    // True once the device wants the line gone (the vanish fault).
    bool hungUp() const { return hungUp_; }

    // The identification line for "?M", without its CR.
    std::string identification() const;
    const DeviceMemory& memory() const { return memory_; }
    // The image of the last update that reached its end record.
    const Firmware& firmware() const { return firmware_; }

private:
    enum class Mode {
        Idle,      // waiting for a command line
        Taking,    // "?FW": blocks arrive, each one answered
        Giving,    // "?FR", "?AR": blocks leave, each one waiting for its acknowledgement
        Flashing,  // ":FU": firmware records arrive, one a line, each one answered
        Lines,     // "?AW": unframed message lines arrive, none answered, until "END"
    };
    void commandByte(char c, Replies& out);
    void command(const std::string& line, Replies& out);
    void frameIn(Replies& out);
    void answerIn(char c, Replies& out);
    void give(Replies& out, bool first);
    // Whether the device stops before block (or message line) number of an exchange: it
    // falls silent, or the line goes away (hungUp).
    bool stopsAt(long number);
    void commit();
    void flashByte(char c, Replies& out);
    void record(const std::string& line, Replies& out);
    void commitFirmware();
    void lineByte(char c, Replies& out);
    void messageLine(const std::string& line, Replies& out);
    void saveState();
    // Eight to fifteen random bytes with an ACK among them.
    std::string noise();

    Options options_;
    DeviceMemory memory_;
    std::string line_;  // a command line being received
    bool hungUp_ = false;
    Mode mode_ = Mode::Idle;
    FrameReader frames_;
    std::optional<Intake> intake_;
    std::vector<std::string> readout_;
    std::size_t done_ = 0;  // blocks of this exchange acknowledged (records of an update, message lines taken)
    Firmware firmware_;
    std::optional<FlashSession> flash_;
    bool flashNakDone_ = false;          // the refused-once record has been refused
    std::vector<std::string> messages_;  // the messages of a "?AW" until its "END"
    std::minstd_rand random_{21};
    // Command name -> handler appending the reply. New commands register here.
    std::map<std::string, std::function<void(Replies& out)>> commands_;
};

// Sum of the character codes in 8 bits, 32 added below 32: the check character of a command.
unsigned char CommandCheck(std::string_view text);

// A message line of "?AW": "N", three digits, then the text between a double quote and the
// last character, which must be a double quote too. False for anything else.
bool ReadMessageLine(std::string_view line, int* number, std::string* text);

}  // namespace camsim
