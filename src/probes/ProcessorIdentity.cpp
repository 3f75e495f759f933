#include "probes/ProcessorIdentity.h"

#include "platform/RegistryKeys.h"
#include "probes/RegistryRead.h"

namespace zelvo {

namespace {
constexpr std::uint32_t kIdentityBufferSize = 255;
}

ProcessorIdentity ReadProcessorIdentity(platform::Registry& registry, const platform::TextLocale& text,
                                        const RegistryLocations& locations) {
    ProcessorIdentity identity;
    identity.name = text.toUtf8(
        ReadValueText(registry, locations.processorNameKey, locations.processorNameValue, kIdentityBufferSize));
    identity.vendor =
        text.toUtf8(ReadValueText(registry, locations.processorVendorKey,
                                  std::string(platform::regkeys::kVendorIdentifier), kIdentityBufferSize));
    return identity;
}

}  // namespace zelvo
