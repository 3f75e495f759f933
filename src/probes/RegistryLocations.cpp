#include "probes/RegistryLocations.h"

namespace zelvo {

std::optional<bool> DetectPlatform(platform::Platform& platform, RegistryLocations& locations) {
    const auto version = platform.getVersion();
    if (!version)
        return std::nullopt;
    // The vendor key is the same on both families and is set before the family is looked at.
    locations.processorVendorKey = "Hardware\\Description\\System\\CentralProcessor\\0\\";
    switch (version->platformId) {
        case platform::kPlatformWin9x:
            locations.versionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
            locations.processorNameKey = "Hardware\\Description\\System\\CentralProcessor\\0\\";
            locations.processorNameValue = "Identifier";
            return true;
        case platform::kPlatformNT:
            locations.versionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
            locations.processorNameKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\";
            locations.processorNameValue = "ProcessorNameString";
            return false;
        default:
            return std::nullopt;
    }
}

}  // namespace zelvo
