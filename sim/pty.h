// The simulator's end of a pseudo-terminal. The tool opens the other end by its path.
#pragma once

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

    // Writes every byte, paced at baud (10 bits a byte) when baud > 0. False when the line broke.
    bool send(const std::string& bytes, long baud);

private:
    int master_ = -1;
    int slave_ = -1;  // kept open so that the line stays up between the tool's sessions
    std::string path_;
    std::string error_;
};

}  // namespace camsim
