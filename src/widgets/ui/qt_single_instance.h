// One running camdesk per working folder: a lock file there, which recovers by itself
// from a stale lock left by a crashed run.
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace cam {

class SingleInstance {
public:
    explicit SingleInstance(const std::string& folder);
    ~SingleInstance();
    bool acquired() const { return acquired_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
};

}  // namespace cam
