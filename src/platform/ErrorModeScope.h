#pragma once
// The critical-error mode for the length of a scope: set on entry, the previous mode restored
// however the scope ends.

#include <cstdint>

#include "platform/Drives.h"

namespace zelvo::platform {

// Fail critical errors (a drive without a medium) instead of asking the user.
inline constexpr std::uint32_t kSemFailCriticalErrors = 1;

class ErrorModeScope {
public:
    ErrorModeScope(Drives& drives, std::uint32_t mode) : drives_(drives), previous_(drives.setErrorMode(mode)) {}
    ~ErrorModeScope() { drives_.setErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    Drives& drives_;
    std::uint32_t previous_;
};

}  // namespace zelvo::platform
