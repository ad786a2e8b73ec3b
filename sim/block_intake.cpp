#include "block_intake.h"

#include <algorithm>

namespace camsim {

namespace {

// The number in b[pos, pos + width) written in base 10 or 16; false unless every character
// is a digit of that base.
bool Field(std::string_view b, std::size_t pos, std::size_t width, int base, int* out) {
    if (pos + width > b.size()) return false;
    int v = 0;
    for (char c : b.substr(pos, width)) {
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : 99;
        if (d >= base) return false;
        v = v * base + d;
    }
    *out = v;
    return true;
}

bool Bit(std::string_view b, std::size_t pos, int* out) { return Field(b, pos, 1, 2, out); }

}  // namespace

Intake::Intake(const Model& model, const DeviceMemory& current) : model_(model), mem_(current) {
    mem_.functions = Functions{};
    if (model_.cams == 32) {
        expected_ = {Kind::Flags};
    } else {
        // A 16-cam device has no flags: its advances block always comes.
        expected_ = {Kind::Advances};
        if (model_.encoders > 1) expected_.push_back(Kind::Group);
        expected_.push_back(Kind::Encoder1);
        if (model_.encoders > 1) expected_.push_back(Kind::Encoders23);
    }
}

void Intake::afterFlags() {
    const Functions& f = mem_.functions;
    const bool one = model_.encoders <= 1;
    if (f.advOn) expected_.push_back(Kind::Advances);
    if (!one) expected_.push_back(Kind::Group);
    if (one && f.delayOn) expected_.push_back(Kind::Delays);
    if (one && f.ratioOn) expected_.push_back(Kind::Ratio);
    expected_.push_back(Kind::Encoder1);
    if (!one) expected_.push_back(Kind::Encoders23);
}

Intake::Result Intake::take(std::string_view block) {
    if (block == "END") return expected_.empty() ? Result::End : Result::Refused;
    if (!expected_.empty()) {
        const Kind kind = expected_.front();
        if (!functionsBlock(kind, block)) return Result::Refused;
        expected_.pop_front();
        if (kind == Kind::Flags) afterFlags();
        return Result::Taken;
    }
    return sizeLine(block) ? Result::Taken : Result::Refused;
}

bool Intake::functionsBlock(Kind kind, std::string_view b) {
    Functions& f = mem_.functions;
    switch (kind) {
        case Kind::Flags:
            return b.size() == 4 && Bit(b, 0, &f.advOn) && Bit(b, 1, &f.delayOn) && Bit(b, 2, &f.ratioOn) &&
                   Bit(b, 3, &f.ratio17On);
        case Kind::Advances: {
            // The count is decimal, the advances hexadecimal.
            int n = 0;
            if (!Field(b, 0, 2, 10, &n) || n > CamsHeld(model_) || b.size() != 2 + 2 * static_cast<std::size_t>(n))
                return false;
            f.advances.assign(static_cast<std::size_t>(n), 0);
            for (int i = 0; i < n; ++i)
                if (!Field(b, 2 + 2 * static_cast<std::size_t>(i), 2, 16, &f.advances[static_cast<std::size_t>(i)]))
                    return false;
            return true;
        }
        case Kind::Group: {
            const std::size_t groups = model_.cams == 32 ? 4 : 2;
            if (b.size() != 2 * groups) return false;
            for (std::size_t g = 0; g < groups; ++g)
                if (!Field(b, 2 * g, 2, 16, &f.group[g])) return false;
            return true;
        }
        case Kind::Delays:
            return b.size() == 4 && Field(b, 0, 2, 16, &f.delay17_20) && Field(b, 2, 2, 16, &f.delay21_24);
        case Kind::Ratio:
            return b.size() == 4 && Field(b, 0, 2, 10, &f.ratio25_32) && Field(b, 2, 2, 10, &f.ratio17On);
        case Kind::Encoder1:
            return b.size() == 10 && Field(b, 0, 2, 10, &f.outSize) && Field(b, 2, 3, 10, &f.shift[0]) &&
                   Bit(b, 5, &f.dir[0]) && Field(b, 6, 4, 10, &f.speedLimit);
        case Kind::Encoders23:
            return b.size() == 8 && Field(b, 0, 3, 10, &f.shift[1]) && Bit(b, 3, &f.dir[1]) &&
                   Field(b, 4, 3, 10, &f.shift[2]) && Bit(b, 7, &f.dir[2]);
    }
    return false;
}

bool Intake::sizeLine(std::string_view b) {
    int n = 0;
    if (b.size() == 3 && b[0] == 'F') {
        // A size header: the size arrives whole and replaces what the device held.
        if (!Field(b, 1, 2, 10, &n) || n < 1 || n > SizesHeld(model_)) return false;
        size_ = &mem_.sizes[static_cast<std::size_t>(n - 1)];
        size_->clear();
        return true;
    }
    if (!size_) return false;
    if (b.size() >= 4 && b[0] == 'C' && b[1] == ' ') {
        CamProgram c;
        if (!Field(b, 2, 2, 10, &c.cam) || c.cam < 1 || c.cam > CamsHeld(model_)) return false;
        if (b.size() > 4) {
            // "C 05" then the remark between double quotes, the last character closing it.
            if (b.size() < 6 || b[4] != '"' || b.back() != '"') return false;
            c.hasRemark = true;
            c.remark = std::string(b.substr(5, std::min<std::size_t>(b.size() - 6, kRemarkBytes)));
        }
        for (const CamProgram& held : *size_)
            if (held.cam == c.cam) return false;  // each cam comes once in a size
        size_->push_back(c);
        return true;
    }
    if (b.size() == 10 && b[0] == ' ' && b[5] == ' ') {
        std::pair<int, int> ph;
        if (size_->empty() || size_->back().phases.size() >= kMemoryPhases) return false;
        if (!Field(b, 1, 4, 10, &ph.first) || !Field(b, 6, 4, 10, &ph.second) || ph.first > 1023 || ph.second > 1023)
            return false;
        size_->back().phases.push_back(ph);
        return true;
    }
    return false;
}

}  // namespace camsim
