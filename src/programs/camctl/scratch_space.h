// The reception files of a camctl run: in a folder of its own that only this user can
// enter, removed when the command ends, also when it is stopped with Ctrl+C or killed
// with SIGTERM or SIGHUP (a reception file can grow large). A signal ignored when the
// command started stays ignored. One at a time per process.
#pragma once

#include <string>

namespace cam::cli {

class ScratchSpace {
public:
    ScratchSpace();
    ~ScratchSpace();
    ScratchSpace(const ScratchSpace&) = delete;
    ScratchSpace& operator=(const ScratchSpace&) = delete;

    // The reception file's path; "" when no private folder could be made (error() says why).
    const std::string& file() const { return file_; }
    const std::string& error() const { return error_; }
    // Another reception file in the same folder (one per device of a plant), removed with it;
    // "" when there is no folder or no more room to remember it.
    std::string another(const std::string& name);

private:
    std::string folder_;
    std::string file_;
    std::string error_;
};

}  // namespace cam::cli
