#include "probes/BiosInfo.h"

#include <array>
#include <cstdint>

#include "platform/Errors.h"
#include "platform/RegistryKeys.h"

namespace zelvo {

namespace {

using platform::RegistryWrapper;

constexpr std::size_t kVersionBufferBytes = 100;
// The last byte of the buffer is never looked at: it would be the terminator of a full value.
constexpr std::size_t kVersionScannedBytes = 99;

const std::string kSystemKey = platform::regkeys::fromRoot(platform::regkeys::kSystem);
const std::string kVersionValue(platform::regkeys::kSystemBiosVersion);
const std::string kDateValue(platform::regkeys::kSystemBiosDate);
const std::string kDriverClassKey = platform::regkeys::fromRoot(platform::regkeys::kSystemDevicesDriver);
const std::string kDriverDescValue(platform::regkeys::kDriverDesc);
const std::string kDriverVersionValue(platform::regkeys::kDriverVersion);

void AddRomLines(const platform::Memory& memory, const platform::TextLocale& text, BiosPage& page) {
    page.memoAdditions.emplace_back();
    for (const std::uint32_t address : kBiosRomAddresses) {
        const auto bytes = memory.readRomString(address);
        page.memoAdditions.push_back(bytes ? text.toUtf8(*bytes) : std::string());
    }
}

// Reads the registry copies; a registry error thrown here ends the reading, keeping what was added.
void AddRegistryLines(const platform::TextLocale& text, RegistryWrapper& registry, BiosPage& page) {
    // A key that cannot be opened leaves the wrapper where it was; reads then give empty texts.
    registry.OpenKey(kSystemKey, false);
    page.memoAdditions.emplace_back();
    page.memoAdditions.push_back(
        text.toUtf8(platform::CodePageText(PieceListText(SplitMultiString(registry, kVersionValue)))));
    page.memoAdditions.push_back(text.toUtf8(registry.ReadString(kDateValue)));
    registry.OpenKey(kDriverClassKey, false);
    page.memoAdditions.push_back(text.toUtf8(registry.ReadString(kDriverDescValue)));
    page.memoAdditions.push_back("Ver " + text.toUtf8(registry.ReadString(kDriverVersionValue)));
}

}  // namespace

std::vector<std::string> SplitMultiString(RegistryWrapper& registry, const std::string& valueName) {
    std::vector<std::string> pieces;
    std::array<std::uint8_t, kVersionBufferBytes> buffer{};
    registry.ReadBinaryData(valueName, buffer.data(), static_cast<int>(buffer.size()));
    std::string piece;
    for (std::size_t i = 0; i < kVersionScannedBytes; ++i) {
        const std::uint8_t byte = buffer[i];
        if (byte >= 0x20) {
            piece += static_cast<char>(byte);
        } else if (!piece.empty()) {
            pieces.push_back(std::move(piece));
            piece.clear();
        }
    }
    return pieces;
}

std::string PieceListText(const std::vector<std::string>& pieces) {
    std::string text;
    for (const auto& piece : pieces)
        text += piece + "\r\n";
    return text;
}

BiosPage FillBiosPage(platform::SystemIdentity& identity, platform::Memory& memory, platform::Registry& registry,
                      const platform::TextLocale& text) {
    BiosPage page;
    const auto version = identity.getVersion();
    if (!version)
        return page;
    switch (version->platformId) {
        case platform::kPlatformWin9x:
            page.tabVisible = true;
            AddRomLines(memory, text, page);
            page.heading = kBiosHeading;
            break;
        case platform::kPlatformNT: {
            page.tabVisible = true;
            // Only read: all-access opening of the hardware keys is refused to ordinary users.
            RegistryWrapper wrapper(registry, text, platform::kHKeyLocalMachine, platform::RegAccess::Read);
            try {
                AddRegistryLines(text, wrapper, page);
            } catch (const ERegistryException&) {
                // Silently ends the reading; the lines added so far stay.
            }
            page.heading = kBiosHeading;
            break;
        }
        default:
            page.tabVisible = false;
            break;
    }
    return page;
}

}  // namespace zelvo
