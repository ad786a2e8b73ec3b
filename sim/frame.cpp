#include "frame.h"

namespace camsim {

namespace {
// A frame never gets longer than this on the device's side; a longer run is line noise.
constexpr std::size_t kMaxText = 4096;
}  // namespace

unsigned char BlockCheck(std::string_view text) {
    unsigned char x = static_cast<unsigned char>(kEtx);
    for (unsigned char c : text) x ^= c;
    return x < 32 ? static_cast<unsigned char>(x + 32) : x;
}

std::string Frame(std::string_view text, bool spoil) {
    std::string f;
    f.reserve(text.size() + 3);
    f += kStx;
    f += text;
    f += kEtx;
    unsigned char check = BlockCheck(text);
    // Another character that is still a valid check character (32..255).
    if (spoil) check = check == 255 ? 32 : static_cast<unsigned char>(check + 1);
    f += static_cast<char>(check);
    return f;
}

FrameReader::Step FrameReader::take(char c) {
    switch (state_) {
        case State::Idle:
            if (c != kStx) return Step::Outside;
            text_.clear();
            state_ = State::Text;
            return Step::Inside;
        case State::Text:
            if (c == kEtx) {
                state_ = State::Check;
            } else if (text_.size() < kMaxText) {
                text_ += c;
            } else {
                state_ = State::Idle;  // no frame is this long: drop it and look for the next
            }
            return Step::Inside;
        case State::Check:
            good_ = static_cast<unsigned char>(c) == BlockCheck(text_);
            state_ = State::Idle;
            return Step::Done;
    }
    return Step::Outside;
}

}  // namespace camsim
