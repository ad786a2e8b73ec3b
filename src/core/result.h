// The outcome of a routine that can fail: success, or the reason of the failure in the
// user's words. [[nodiscard]]: a caller decides what a failure means, it is never dropped
// unseen.
#pragma once

#include <string>
#include <utility>

namespace cam {

class [[nodiscard]] Result {
public:
    Result() = default;  // success
    static Result Failure(std::string reason) {
        Result r;
        r.failed_ = true;
        r.reason_ = reason.empty() ? std::string("failed") : std::move(reason);
        return r;
    }
    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // Why it failed; "" after a success.
    const std::string& reason() const { return reason_; }

private:
    bool failed_ = false;
    std::string reason_;
};

}  // namespace cam
