#include "probes/Registration.h"

#include <cstdint>

#include "platform/RegistryKeys.h"
#include "probes/RegistryRead.h"

namespace zelvo {

using namespace platform;

namespace {

const std::string kOwner(regkeys::kRegisteredOwner);
const std::string kOrganization(regkeys::kRegisteredOrganization);

void WriteString(Platform& platform, HKey key, const std::string& name, const std::string& utf8) {
    const std::string bytes = platform.fromUtf8(utf8);
    // The stored length counts the terminating zero.
    platform.regSetValue(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.c_str()),
                         static_cast<std::uint32_t>(bytes.size() + 1));
}

}  // namespace

Registration ReadRegistration(Platform& platform, const RegistryLocations& locations) {
    Registration values;
    values.owner = platform.toUtf8(ReadValueText(platform, locations.versionKey, kOwner, std::nullopt));
    values.organization = platform.toUtf8(ReadValueText(platform, locations.versionKey, kOrganization, std::nullopt));
    return values;
}

void WriteRegistration(Platform& platform, const RegistryLocations& locations, const Registration& values) {
    HKey key = 0;
    if (platform.regCreateKey(kHKeyLocalMachine, locations.versionKey, &key) != kRegSuccess)
        return;
    WriteString(platform, key, kOwner, values.owner);
    WriteString(platform, key, kOrganization, values.organization);
    platform.regCloseKey(key);
}

bool SubmitComputerName(Platform& platform, const std::string& name) {
    const std::string bytes = platform.fromUtf8(name);
    if (bytes.size() > platform.computerNameBufferChars())
        return false;
    return platform.setComputerName(bytes);
}

}  // namespace zelvo
