#pragma once
// The registered owner and organization, and handing a new computer name to the system.

#include <string>

#include "platform/Registry.h"
#include "platform/SystemIdentity.h"
#include "platform/TextLocale.h"
#include "probes/RegistryLocations.h"

namespace zelvo {

struct Registration {
    std::string owner;         // UTF-8
    std::string organization;  // UTF-8
};

// Reads both values below the version key; a value that cannot be read is empty text. Values are
// read whole, so whatever the page accepted reads back as it was typed.
Registration ReadRegistration(platform::Registry& registry, const platform::TextLocale& text,
                              const RegistryLocations& locations);

// Opens the version key, creating it when missing, and writes both values as plain strings.
// Failures are not reported: the page shows what the registry holds afterwards.
void WriteRegistration(platform::Registry& registry, const platform::TextLocale& text,
                       const RegistryLocations& locations, const Registration& values);

// Passes `name` (UTF-8) to the system when its bytes in the system's code page are no more than
// the characters of the system's computer-name buffer (16 on Windows); true when the system
// accepted it.
bool SubmitComputerName(platform::SystemIdentity& identity, const platform::TextLocale& text, const std::string& name);

}  // namespace zelvo
