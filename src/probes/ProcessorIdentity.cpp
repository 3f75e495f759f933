#include "probes/ProcessorIdentity.h"

#include "platform/RegistryKeys.h"
#include "probes/RegistryRead.h"

namespace zelvo {

namespace {
constexpr std::uint32_t kIdentityBufferSize = 255;
}

ProcessorIdentity ReadProcessorIdentity(platform::Platform& platform, const RegistryLocations& locations) {
    ProcessorIdentity identity;
    identity.name = platform.toUtf8(
        ReadValueText(platform, locations.processorNameKey, locations.processorNameValue, kIdentityBufferSize));
    identity.vendor =
        platform.toUtf8(ReadValueText(platform, locations.processorVendorKey,
                                      std::string(platform::regkeys::kVendorIdentifier), kIdentityBufferSize));
    return identity;
}

}  // namespace zelvo
