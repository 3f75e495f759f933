// The firmware's strings under /sys/class/dmi/id and the device tree's model, as the BIOS page's
// SystemBIOSVersion pieces and SystemBIOSDate. Parts: bios_vendor, bios_version, bios_release,
// bios_date, device-tree model; an empty part is a missing file.

#include "platform/linux/Dmi.h"
#include "FuzzInput.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

std::optional<std::string> file(std::string_view part) {
    return part.empty() ? std::nullopt : std::optional<std::string>(part);
}

// A piece or date goes into a REG_MULTI_SZ or REG_SZ value, where a NUL ends it.
void checkText(const std::string& text) {
    fuzz::require(!text.empty(), "no empty piece");
    fuzz::require(text.find('\0') == std::string::npos, "no NUL inside a piece");
    fuzz::require(!isDmiPlaceholder(text), "no placeholder is shown");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [vendor, version, release, date, model] = fuzz::parts<5>(data, size);
    const BiosIdentity bios =
        biosIdentity(file(vendor), file(version), file(release), file(date), deviceTreeModel(file(model)));
    fuzz::require(bios.versionPieces.size() <= 3, "at most three pieces");
    for (const std::string& piece : bios.versionPieces)
        checkText(piece);
    if (bios.date)
        checkText(*bios.date);
    const std::string bytes = multiString(bios.versionPieces);
    fuzz::require(bytes.size() >= 1 && bytes.back() == '\0', "a multi-string ends with an empty one");
    return 0;
}
