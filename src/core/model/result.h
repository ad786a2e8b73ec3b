// The outcome of a routine that can fail: success, or the reason of the failure in the
// user's words. [[nodiscard]]: a caller decides what a failure means, it is never dropped
// unseen.
#pragma once

#include <optional>
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

// A value, or the reason there is none. The same rule as Result: never dropped unseen.
template <class T>
class [[nodiscard]] Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
    Outcome(Result failure) : reason_(failure.ok() ? std::string("failed") : failure.reason()) {}  // NOLINT
    static Outcome Failure(std::string reason) { return Outcome(Result::Failure(std::move(reason))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    std::string reason_;
};

}  // namespace cam
