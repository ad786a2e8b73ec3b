#include "core/model/text_lines.h"

#include <cstring>

namespace cam {

namespace {
constexpr std::size_t kBlockBytes = 256 * 1024;

// The first CR or LF at or after `from`, or npos. A plain scan: find_first_of tests every byte
// against its set through a call, which made this the reader's largest cost on big files.
std::size_t LineEnd(std::string_view s, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i)
        if (s[i] == '\r' || s[i] == '\n') return i;
    return std::string_view::npos;
}
}  // namespace

LineSource::LineSource(std::string_view bytes) : rest_(bytes) {}

LineSource LineSource::File(const std::string& path) {
    LineSource s;
    s.file_ = std::make_unique<std::ifstream>(path, std::ios::binary);
    s.ok_ = static_cast<bool>(*s.file_);
    return s;
}

bool LineSource::refill() {
    if (!file_ || !*file_) return false;
    // What is left is the start of a line: it moves to the front, the next block follows it.
    const std::size_t kept = rest_.size();
    if (kept > 0) std::memmove(block_.data(), rest_.data(), kept);  // an empty view may hold no pointer at all
    block_.resize(kept + kBlockBytes);
    file_->read(block_.data() + kept, static_cast<std::streamsize>(kBlockBytes));
    const std::size_t got = static_cast<std::size_t>(file_->gcount());
    block_.resize(kept + got);
    rest_ = block_;
    return got > 0;
}

bool LineSource::next(std::string_view& line) {
    // A line end, unless it is a CR at the end of what is held: the LF of its CR LF may follow.
    auto settled = [this](std::size_t end) {
        return end != std::string_view::npos && !(rest_[end] == '\r' && end + 1 == rest_.size());
    };
    std::size_t from = 0;
    std::size_t end = LineEnd(rest_, 0);
    while (!settled(end)) {
        const std::size_t held = end == std::string_view::npos ? rest_.size() : end;
        if (!refill()) break;
        from = held;  // what was looked at before needs no second look
        end = LineEnd(rest_, from);
    }
    if (rest_.empty()) return false;
    if (end == std::string_view::npos) {  // the last line, without a line end
        line = rest_;
        rest_ = {};
    } else {
        line = rest_.substr(0, end);
        const bool crLf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + (crLf ? 2 : 1));
    }
    return true;
}

bool LineSource::atEnd() { return rest_.empty() && !refill(); }

}  // namespace cam
