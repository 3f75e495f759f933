#pragma once
// The registered owner and organization, and handing a new computer name to the system.

#include <string>

#include "platform/Platform.h"
#include "probes/RegistryLocations.h"

namespace zelvo {

struct Registration {
    std::string owner;         // UTF-8
    std::string organization;  // UTF-8
};

// Reads both values below the version key; a value that cannot be read is empty text. Values are
// read whole, so whatever the page accepted reads back as it was typed.
Registration ReadRegistration(platform::Platform& platform, const RegistryLocations& locations);

// Opens the version key, creating it when missing, and writes both values as plain strings.
// Failures are not reported: the page shows what the registry holds afterwards.
void WriteRegistration(platform::Platform& platform, const RegistryLocations& locations, const Registration& values);

// The longest computer name the system takes, in bytes of its code page.
inline constexpr std::size_t kMaxComputerNameBytes = 16;

// Passes `name` (UTF-8) to the system when it has at most 16 bytes in the system's code page;
// true when the system accepted it.
bool SubmitComputerName(platform::Platform& platform, const std::string& name);

}  // namespace zelvo
