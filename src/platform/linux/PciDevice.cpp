#include "platform/linux/PciDevice.h"

#include <algorithm>
#include <charconv>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

namespace {

// The four hexadecimal digits a pci.ids line starts with.
std::optional<std::uint16_t> hexId(std::string_view text) {
    if (text.size() < 4)
        return std::nullopt;
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + 4, value, 16);
    if (error != std::errc() || end != text.data() + 4)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<PciIdsName> lookupPciIds(std::string_view pciIds, std::uint16_t vendor, std::uint16_t device) {
    std::optional<PciIdsName> found;
    std::size_t pos = 0;
    while (pos < pciIds.size()) {
        auto end = pciIds.find('\n', pos);
        if (end == std::string_view::npos)
            end = pciIds.size();
        const std::string_view line = pciIds.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() != '\t') {
            if (found)
                break;  // past the vendor's block
            // The device classes ("C 06  Bridge") follow all vendors.
            if (line.size() > 1 && line[0] == 'C' && line[1] == ' ')
                break;
            if (hexId(line) == vendor && line.size() > 4 && line[4] == ' ')
                found = PciIdsName{std::string(linuxfs::trim(line.substr(4))), std::nullopt};
            continue;
        }
        if (found && line.size() > 5 && line[1] != '\t' && hexId(line.substr(1)) == device && line[5] == ' ') {
            found->device = std::string(linuxfs::trim(line.substr(5)));
            break;
        }
    }
    if (found && found->vendor.empty())
        return std::nullopt;
    return found;
}

std::optional<std::string> udevProperty(std::string_view udevData, std::string_view key) {
    for (const std::string_view line : linuxfs::splitLines(udevData)) {
        if (line.size() > key.size() + 3 && line.substr(0, 2) == "E:" && line.substr(2, key.size()) == key &&
            line[2 + key.size()] == '=') {
            const auto value = linuxfs::trim(line.substr(3 + key.size()));
            if (!value.empty())
                return std::string(value);
        }
    }
    return std::nullopt;
}

std::string pciDescription(const std::optional<PciIdsName>& name, std::uint16_t vendor, std::uint16_t device) {
    if (name && name->device)
        return name->vendor + " " + *name->device;
    const std::string ids = linuxfs::hexDigits(vendor, 4) + ":" + linuxfs::hexDigits(device, 4);
    if (name)
        return name->vendor + " PCI device " + ids;
    return "PCI device " + ids;
}

std::optional<std::string> chooseSystemDevice(const std::vector<PciAddressClass>& devices) {
    std::optional<std::string> best;
    for (const auto& device : devices) {
        if (device.address == "0000:00:00.0")
            return device.address;
        if ((device.classCode >> 16) == 0x06 && (!best || device.address < *best))
            best = device.address;
    }
    return best;
}

}  // namespace zelvo::platform
