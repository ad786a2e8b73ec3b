// The device's side of the block framing: STX, text, ETX, check character. Its own code, not
// the tool's, so that a fault in either shows up as a refused or corrupted block.
#pragma once

#include <string>
#include <string_view>

namespace camsim {

inline constexpr char kStx = 2;
inline constexpr char kEtx = 3;
inline constexpr char kAck = 6;
inline constexpr char kNak = 21;
inline constexpr char kCr = 13;

// XOR of the text's characters and ETX, 32 added below 32.
unsigned char BlockCheck(std::string_view text);
// STX text ETX check; a wrong check character when spoil is set (the corrupted-block fault).
std::string Frame(std::string_view text, bool spoil = false);

// Gathers a frame from bytes that arrive in pieces. Bytes before an STX are handed back to
// the caller (they may be a command line).
class FrameReader {
public:
    enum class Step { Outside, Inside, Done };
    // Takes one byte; Done when it completed a frame (then good() and text() tell the result).
    Step take(char c);
    bool inside() const { return state_ != State::Idle; }
    bool good() const { return good_; }
    const std::string& text() const { return text_; }
    void reset() { state_ = State::Idle; }

private:
    enum class State { Idle, Text, Check };
    State state_ = State::Idle;
    std::string text_;
    bool good_ = false;
};

}  // namespace camsim
