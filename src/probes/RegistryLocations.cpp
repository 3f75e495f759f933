#include "probes/RegistryLocations.h"

#include "platform/RegistryKeys.h"

namespace zelvo {

using namespace platform::regkeys;

std::optional<bool> DetectPlatform(const platform::SystemIdentity& identity, RegistryLocations& locations) {
    const auto version = identity.getVersion();
    if (!version)
        return std::nullopt;
    // The vendor key is the same on both families and is set before the family is looked at.
    locations.processorVendorKey = withTrailingBackslash(kProcessor9x);
    switch (version->platformId) {
        case platform::kPlatformWin9x:
            locations.versionKey = withTrailingBackslash(kVersion9x);
            locations.processorNameKey = withTrailingBackslash(kProcessor9x);
            locations.processorNameValue = kProcessorName9x;
            return true;
        case platform::kPlatformNT:
            locations.versionKey = withTrailingBackslash(kVersionNT);
            locations.processorNameKey = withTrailingBackslash(kProcessorNT);
            locations.processorNameValue = kProcessorNameNT;
            return false;
        default:
            return std::nullopt;
    }
}

}  // namespace zelvo
