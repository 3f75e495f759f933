#include "probes/RegistryRead.h"

#include <algorithm>
#include <vector>

namespace zelvo {

using namespace platform;

namespace {

// The bytes of a value up to its first zero byte.
CodePageText TextUpToZero(const std::vector<std::uint8_t>& data, std::uint32_t size) {
    const auto end = data.begin() + std::min<std::size_t>(size, data.size());
    return CodePageText(std::string(data.begin(), std::find(data.begin(), end, std::uint8_t(0))));
}

CodePageText QueryText(const Registry& registry, HKey key, const std::string& valueName,
                       std::optional<std::uint32_t> bufferSize) {
    std::uint32_t size = 0;
    if (!bufferSize) {
        std::uint32_t type = 0;
        if (registry.regQueryValue(key, valueName, &type, nullptr, &size) != kRegSuccess)
            return {};
    } else {
        size = *bufferSize;
    }
    std::vector<std::uint8_t> data(size);
    std::uint32_t type = 0;
    if (registry.regQueryValue(key, valueName, &type, data.data(), &size) != kRegSuccess)
        return {};
    return TextUpToZero(data, size);
}

}  // namespace

CodePageText ReadValueText(Registry& registry, const std::string& keyPath, const std::string& valueName,
                           std::optional<std::uint32_t> bufferSize) {
    HKey key = 0;
    if (registry.regOpenKey(kHKeyLocalMachine, keyPath, RegAccess::Read, &key) != kRegSuccess)
        return {};
    CodePageText text = QueryText(registry, key, valueName, bufferSize);
    registry.regCloseKey(key);
    return text;
}

}  // namespace zelvo
