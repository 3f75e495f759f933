#include "probes/Registration.h"

#include <cstdint>

#include "platform/RegistryKeys.h"
#include "probes/RegistryRead.h"

namespace zelvo {

using namespace platform;

namespace {

const std::string kOwner(regkeys::kRegisteredOwner);
const std::string kOrganization(regkeys::kRegisteredOrganization);

void WriteString(Registry& registry, const TextLocale& text, HKey key, const std::string& name,
                 const std::string& utf8) {
    const CodePageText value = text.fromUtf8(utf8);
    const std::string& bytes = value.bytes();
    // The stored length counts the terminating zero.
    registry.regSetValue(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.c_str()),
                         static_cast<std::uint32_t>(bytes.size() + 1));
}

}  // namespace

Registration ReadRegistration(Registry& registry, const TextLocale& text, const RegistryLocations& locations) {
    Registration values;
    values.owner = text.toUtf8(ReadValueText(registry, locations.versionKey, kOwner, std::nullopt));
    values.organization = text.toUtf8(ReadValueText(registry, locations.versionKey, kOrganization, std::nullopt));
    return values;
}

void WriteRegistration(Registry& registry, const TextLocale& text, const RegistryLocations& locations,
                       const Registration& values) {
    HKey key = 0;
    if (registry.regCreateKey(kHKeyLocalMachine, locations.versionKey, &key) != kRegSuccess)
        return;
    WriteString(registry, text, key, kOwner, values.owner);
    WriteString(registry, text, key, kOrganization, values.organization);
    registry.regCloseKey(key);
}

bool SubmitComputerName(SystemIdentity& identity, const TextLocale& text, const std::string& name) {
    const CodePageText bytes = text.fromUtf8(name);
    if (bytes.size() > identity.computerNameBufferChars())
        return false;
    return identity.setComputerName(bytes);
}

}  // namespace zelvo
