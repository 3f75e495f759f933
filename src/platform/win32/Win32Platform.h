#pragma once
// The real Windows calls behind the platform interface, made with the ANSI ("A") functions so
// that texts and byte counts are in the system's ANSI code page, as the program expects. Works
// on both families: calls the 9x family lacks are looked up at run time.

#include "platform/SelfAnsweringPlatform.h"

namespace zelvo::platform {

// The calls that not every system has. Leaving one out makes the backend behave as on a system
// without it (Windows 95 before OSR2 has neither), so tests can take those paths on any system.
struct Win32OptionalCalls {
    bool globalMemoryStatusEx = true;
    bool getDiskFreeSpaceEx = true;
};

// Each capability is the Windows calls themselves.
class Win32Platform final : public SelfAnsweringPlatform, Registry, Drives {
public:
    explicit Win32Platform(Win32OptionalCalls calls = {});

    Registry& registry() override { return *this; }
    Drives& drives() override { return *this; }

private:
    ZELVO_SELF_ANSWERED_CALLS;
    ZELVO_REGISTRY_CALLS;
    ZELVO_DRIVES_CALLS;
    std::optional<DisplayMode> currentDisplayMode() const override;

    Win32OptionalCalls calls_;
    bool win9x_ = false;
};

}  // namespace zelvo::platform
