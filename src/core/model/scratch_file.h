// Scratch files of a transfer (the received blocks in "_._"): written line by line,
// created afresh, and never opened through a symbolic link, so that a link planted at
// the scratch path cannot make a reception overwrite another file.
#pragma once

#include <string>
#include <string_view>

namespace cam {

class ScratchWriter {
public:
    // Creates or truncates path (mode 0600); a symbolic link there is refused.
    explicit ScratchWriter(const std::string& path);
    ~ScratchWriter();
    ScratchWriter(const ScratchWriter&) = delete;
    ScratchWriter& operator=(const ScratchWriter&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // Appends text as one line and CR LF: line breaks inside it become blanks, so that each
    // received block is exactly one line of the file.
    void writeLine(std::string_view text);
    // Writes out what is buffered and closes; false (with error()) when anything failed.
    bool close();

private:
    void flush();
    int fd_ = -1;
    std::string buffer_;
    std::string path_;
    std::string error_;
};

// A new folder only this user can enter, in the system's temporary folder: the place for
// scratch files of a command-line run. "" (and why in *error) when it cannot be made.
std::string MakePrivateFolder(const std::string& prefix, std::string* error);

}  // namespace cam
