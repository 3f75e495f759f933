#pragma once
// Which family the system is, and where that family keeps the registration and processor values.

#include <optional>
#include <string>

#include "platform/SystemIdentity.h"

namespace zelvo {

// Four key and value names, all below HKEY_LOCAL_MACHINE; empty until a detection sets them.
struct RegistryLocations {
    std::string versionKey;
    std::string processorNameKey;
    std::string processorNameValue;
    std::string processorVendorKey;
};

// Runs the platform detection: fills `locations` from the family and returns whether the
// processor-load gauge is to be shown, or nullopt when its visibility is to stay as it is (a
// failed version query, a family other than the two known ones).
std::optional<bool> DetectPlatform(const platform::SystemIdentity& identity, RegistryLocations& locations);

}  // namespace zelvo
