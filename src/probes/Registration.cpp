#include "probes/Registration.h"

#include <cstdint>

#include "probes/RegistryRead.h"

namespace zelvo {

using namespace platform;

namespace {

void WriteString(Platform& platform, HKey key, const std::string& name, const std::string& utf8) {
    const std::string bytes = platform.fromUtf8(utf8);
    // The stored length counts the terminating zero.
    platform.regSetValue(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.c_str()),
                         static_cast<std::uint32_t>(bytes.size() + 1));
}

}  // namespace

Registration ReadRegistration(Platform& platform, const RegistryLocations& locations) {
    Registration values;
    values.owner = platform.toUtf8(ReadValueText(platform, locations.versionKey, "RegisteredOwner", std::nullopt));
    values.organization =
        platform.toUtf8(ReadValueText(platform, locations.versionKey, "RegisteredOrganization", std::nullopt));
    return values;
}

void WriteRegistration(Platform& platform, const RegistryLocations& locations, const Registration& values) {
    HKey key = 0;
    if (platform.regCreateKey(kHKeyLocalMachine, locations.versionKey, &key) != kRegSuccess)
        return;
    WriteString(platform, key, "RegisteredOwner", values.owner);
    WriteString(platform, key, "RegisteredOrganization", values.organization);
    platform.regCloseKey(key);
}

bool SubmitComputerName(Platform& platform, const std::string& name) {
    const std::string bytes = platform.fromUtf8(name);
    if (bytes.size() > platform.computerNameBufferChars())
        return false;
    return platform.setComputerName(bytes);
}

}  // namespace zelvo
