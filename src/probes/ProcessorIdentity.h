#pragma once
// The processor's name and vendor as the system's registry records them.

#include <string>

#include "platform/Registry.h"
#include "platform/TextLocale.h"
#include "probes/RegistryLocations.h"

namespace zelvo {

struct ProcessorIdentity {
    std::string name;    // UTF-8; empty when it cannot be read
    std::string vendor;  // UTF-8; empty when it cannot be read
};

// Each value is read into a 255-byte buffer, so a readable value has at most 254 bytes and its
// terminating zero.
ProcessorIdentity ReadProcessorIdentity(platform::Registry& registry, const platform::TextLocale& text,
                                        const RegistryLocations& locations);

}  // namespace zelvo
