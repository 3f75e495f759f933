#include "platform/linux/Dmi.h"

#include <algorithm>
#include <cctype>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

namespace {

// Strings firmware vendors leave in SMBIOS tables, compared ignoring ASCII case.
constexpr std::string_view kPlaceholders[] = {
    "To be filled by O.E.M.",
    "To Be Filled By O.E.M",
    "Default string",
    "Not Specified",
    "Not Applicable",
    "System Product Name",
    "System manufacturer",
    "System Version",
    "0123456789",
    "Undefined",
    "None",
    "N/A",
    "OEM",
    "O.E.M.",
    "Unknown",
    "XXXXXXXXXXXX",
    "Type1ProductConfigId",
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool isDmiPlaceholder(std::string_view value) {
    value = linuxfs::trim(value);
    if (value.empty())
        return true;
    return std::any_of(std::begin(kPlaceholders), std::end(kPlaceholders),
                       [value](std::string_view placeholder) { return equalsIgnoringCase(value, placeholder); });
}

std::optional<std::string> dmiValue(const std::optional<std::string>& fileText) {
    if (!fileText)
        return std::nullopt;
    // A piece becomes one string of a REG_MULTI_SZ value, where a NUL would start another piece.
    const std::string_view text = std::string_view(*fileText).substr(0, fileText->find('\0'));
    if (isDmiPlaceholder(text))
        return std::nullopt;
    return std::string(linuxfs::trim(text));
}

std::optional<std::string> deviceTreeModel(const std::optional<std::string>& fileText) {
    // A device-tree string property ends with a NUL; anything after the first one is not the model.
    return dmiValue(fileText);
}

BiosIdentity biosIdentity(const std::optional<std::string>& vendor, const std::optional<std::string>& version,
                          const std::optional<std::string>& release, const std::optional<std::string>& date,
                          const std::optional<std::string>& deviceTreeModel) {
    BiosIdentity bios;
    for (const auto* piece : {&vendor, &version, &release})
        if (const auto value = dmiValue(*piece))
            bios.versionPieces.push_back(*value);
    if (bios.versionPieces.empty())
        if (const auto model = dmiValue(deviceTreeModel))
            bios.versionPieces.push_back(*model);
    bios.date = dmiValue(date);
    return bios;
}

std::string multiString(const std::vector<std::string>& pieces) {
    std::string bytes;
    for (const auto& piece : pieces) {
        bytes += piece;
        bytes += '\0';
    }
    bytes += '\0';
    return bytes;
}

}  // namespace zelvo::platform
