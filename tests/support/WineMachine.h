#pragma once
// Which machine the Windows backend's tests run on. scripts/test-wine.sh makes a throwaway Wine
// prefix in a temporary directory, sets it to one family and names that family in the
// environment variable ZELVO_WINE_FAMILY ("nt" or "9x"). Only there do tests expect a family or
// change the machine (registry writes, locale settings, the pending computer name); elsewhere
// those tests are skipped and the others only read.
//
// The prefix's drives, as the script lays them out:
//   A:  removable (Wine "floppy"), an empty directory
//   C:  fixed, the prefix's drive_c, label "SYSTEM", serial 1A2B3C4D
//   D:  CD-ROM (Wine "cdrom"), an empty directory
//   E:  remote (Wine "network"), an empty directory
//   Z:  fixed, Wine's own mapping of the Unix root

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace zelvo::test {

inline bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The platform identifier the throwaway prefix is set to; nullopt anywhere else.
inline std::optional<std::uint32_t> wineFamily() {
    const char* family = std::getenv("ZELVO_WINE_FAMILY");
    if (!family || !runningUnderWine())
        return std::nullopt;
    const std::string name = family;
    if (name == "9x")
        return platform::kPlatformWin9x;
    if (name == "nt")
        return platform::kPlatformNT;
    return std::nullopt;
}

inline constexpr char kWineDriveLabelC[] = "SYSTEM";
inline constexpr std::uint32_t kWineDriveSerialC = 0x1A2B3C4D;

}  // namespace zelvo::test

// Skips a test that needs to know the family or that changes the machine.
#define ZELVO_REQUIRE_WINE_FAMILY()                                                    \
    do {                                                                               \
        if (!::zelvo::test::wineFamily())                                              \
            GTEST_SKIP() << "needs the throwaway Wine prefix of scripts/test-wine.sh"; \
    } while (false)
