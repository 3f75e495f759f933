#pragma once
// BIOS identification from the firmware tables the kernel publishes (/sys/class/dmi/id), or from
// the device tree on boards without them, shaped as the registry's SystemBIOSVersion and
// SystemBIOSDate values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::platform {

// Whether a DMI string is a placeholder that the board vendor never filled in ("To be filled by
// O.E.M.", "Default string", "0123456789", empty or blank, …).
bool isDmiPlaceholder(std::string_view value);

// The value of a DMI attribute file, up to a NUL (no firmware string holds one), trimmed; nullopt
// when it is missing or a placeholder.
std::optional<std::string> dmiValue(const std::optional<std::string>& fileText);

// The device tree's model property ("Raspberry Pi 4 Model B Rev 1.4\0"); nullopt when missing,
// blank or a placeholder.
std::optional<std::string> deviceTreeModel(const std::optional<std::string>& fileText);

struct BiosIdentity {
    std::vector<std::string> versionPieces;  // SystemBIOSVersion, one piece per string
    std::optional<std::string> date;         // SystemBIOSDate
};

// Pieces in the order vendor, version, release (each when present), the date from bios_date.
// Without any DMI piece the device-tree model stands as the one version piece.
BiosIdentity biosIdentity(const std::optional<std::string>& vendor, const std::optional<std::string>& version,
                          const std::optional<std::string>& release, const std::optional<std::string>& date,
                          const std::optional<std::string>& deviceTreeModel);

// REG_MULTI_SZ bytes: every piece followed by a zero, then a final zero.
std::string multiString(const std::vector<std::string>& pieces);

}  // namespace zelvo::platform
