// The PCI device that names the driver-class entry: its ids as sysfs writes them, its udev record
// and its pci.ids entry. Parts: vendor file, device file, udev record, pci.ids.

#include <algorithm>

#include "FuzzInput.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/PciDevice.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

std::uint16_t pciId(std::string_view file) {
    const auto value = linuxfs::parseHexadecimal(file);
    return value && *value <= 0xffff ? static_cast<std::uint16_t>(*value) : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [vendorFile, deviceFile, udev, pciIds] = fuzz::parts<4>(data, size);
    const std::uint16_t vendor = pciId(vendorFile);
    const std::uint16_t device = pciId(deviceFile);

    std::optional<PciIdsName> name;
    if (const auto udevVendor = udevProperty(udev, "ID_VENDOR_FROM_DATABASE")) {
        fuzz::require(!udevVendor->empty() && udevVendor->find('\n') == std::string::npos,
                      "a udev property is one non-empty line");
        name = PciIdsName{*udevVendor, udevProperty(udev, "ID_MODEL_FROM_DATABASE")};
    }
    if (const auto found = lookupPciIds(pciIds, vendor, device)) {
        fuzz::require(!found->vendor.empty(), "a vendor found has a name");
        fuzz::require(found->vendor.find('\n') == std::string::npos, "a vendor name is one line");
        fuzz::require(!found->device || found->device->find('\n') == std::string::npos, "a device name is one line");
        name = found;
    }
    const std::string description = pciDescription(name, vendor, device);
    fuzz::require(!description.empty(), "every device is described");

    // The device list as sysfs names it: addresses and class codes from the udev part's lines.
    std::vector<PciAddressClass> devices;
    for (const std::string_view line : linuxfs::splitLines(udev)) {
        const auto space = line.find(' ');
        devices.push_back(
            {std::string(line.substr(0, space)),
             static_cast<std::uint32_t>(
                 linuxfs::parseHexadecimal(space == line.npos ? "" : line.substr(space + 1)).value_or(0))});
    }
    if (const auto chosen = chooseSystemDevice(devices)) {
        const bool listed = std::any_of(devices.begin(), devices.end(),
                                        [&](const PciAddressClass& device) { return device.address == *chosen; });
        fuzz::require(listed, "the chosen device is one of the list");
    }
    return 0;
}
