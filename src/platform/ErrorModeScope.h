#pragma once
// The critical-error mode for the length of a scope: set on entry, the previous mode restored
// however the scope ends.

#include <cstdint>

#include "platform/Platform.h"

namespace zelvo::platform {

// Fail critical errors (a drive without a medium) instead of asking the user.
inline constexpr std::uint32_t kSemFailCriticalErrors = 1;

class ErrorModeScope {
public:
    ErrorModeScope(Platform& platform, std::uint32_t mode)
        : platform_(platform), previous_(platform.setErrorMode(mode)) {}
    ~ErrorModeScope() { platform_.setErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    Platform& platform_;
    std::uint32_t previous_;
};

}  // namespace zelvo::platform
