// The simulated cam programmer: bytes from the line in, bytes for the line out. Written
// apart from the tool's codecs on purpose, so that the two sides check each other.
#pragma once

#include "sim_options.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace camsim {

class Device {
public:
    explicit Device(Options options);

    // Takes what arrived on the line; returns what the device sends back.
    std::string receive(std::string_view bytes);
    // True once the device wants the line gone (the vanish fault).
    bool hungUp() const { return hungUp_; }

    // The identification line for "?M", without its CR.
    std::string identification() const;

private:
    void command(const std::string& line, std::string& out);

    Options options_;
    std::string line_;  // a command line being received
    bool hungUp_ = false;
    // Command name -> handler appending the reply. New commands register here.
    std::map<std::string, std::function<void(std::string& out)>> commands_;
};

// Sum of the character codes in 8 bits, 32 added below 32: the check character of a command.
unsigned char CommandCheck(std::string_view text);

}  // namespace camsim
