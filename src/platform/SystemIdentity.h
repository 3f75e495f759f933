#pragma once
// Which system this is and what the computer is called, with the Windows calls' meaning.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/CodePageText.h"

namespace zelvo::platform {

// Platform identifiers of the version query.
inline constexpr std::uint32_t kPlatformWin9x = 1;
inline constexpr std::uint32_t kPlatformNT = 2;

struct OsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

class SystemIdentity {
public:
    virtual ~SystemIdentity() = default;

    // The version query; nullopt when it fails.
    virtual std::optional<OsVersion> getVersion() const = 0;
    // Characters of the buffer the longest computer name this system allows needs, its terminating
    // zero included (16 on Windows, 65 for a Linux host name); it cannot fail.
    virtual std::uint32_t computerNameBufferChars() const = 0;
    // The computer name if it fits a buffer of `bufferChars` characters including
    // the terminating zero; nullopt on failure or when it does not fit.
    virtual std::optional<CodePageText> getComputerName(std::uint32_t bufferChars) const = 0;
    // Hands a new computer name to the system; false when refused.
    virtual bool setComputerName(const CodePageText& name) = 0;
};

}  // namespace zelvo::platform
