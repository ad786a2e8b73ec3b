// The simulator's end of a pseudo-terminal. The tool opens the other end by its path.
#pragma once

#include <cstdint>
#include <string>

namespace camsim {

class Pty {
public:
    // Opens a pseudo-terminal in raw mode; on failure ok() is false and error() says why.
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }  // what the tool opens, e.g. /dev/pts/3
    int fd() const { return master_; }

    // Writes every byte, paced at baud when baud > 0: byte i is handed over when its ten bits
    // would have arrived on a line that started sending at start (monotonic ns), so that
    // waking late now and then does not add up. Returns when the last byte is through, or
    // false when the line broke.
    bool send(const std::string& bytes, long baud, std::int64_t start);

private:
    int master_ = -1;
    int slave_ = -1;  // kept open so that the line stays up between the tool's sessions
    std::string path_;
    std::string error_;
};

// Nanoseconds of the monotonic clock, and a sleep until such a moment.
std::int64_t MonotonicNs();
void SleepUntilNs(std::int64_t when);
// The time one byte (start bit, 8 data bits, stop bit) takes on a line of this speed.
inline std::int64_t ByteNs(long baud) { return baud > 0 ? 10LL * 1'000'000'000LL / baud : 0; }

}  // namespace camsim
