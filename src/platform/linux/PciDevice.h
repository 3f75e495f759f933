#pragma once
// Naming a PCI device for the registry's driver-class entry: which device, its description from
// the udev hardware database or pci.ids, and its driver's version.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::platform {

struct PciIdsName {
    std::string vendor;
    std::optional<std::string> device;  // nullopt when pci.ids knows the vendor but not the device
};

// Looks a vendor and device up in the text of a pci.ids file ("8086  Intel Corporation", then
// "\t1237  440FX - 82441FX PMC [Natoma]"). nullopt when the vendor is not listed.
std::optional<PciIdsName> lookupPciIds(std::string_view pciIds, std::uint16_t vendor, std::uint16_t device);

// A property ("E:ID_MODEL_FROM_DATABASE=…" lines) from a udev database file.
std::optional<std::string> udevProperty(std::string_view udevData, std::string_view key);

// The description shown for a device: "vendor device" from the databases, else the numeric ids as
// lspci -n writes them ("PCI device 8086:0d57").
std::string pciDescription(const std::optional<PciIdsName>& name, std::uint16_t vendor, std::uint16_t device);

struct PciAddressClass {
    std::string address;  // "0000:00:00.0"
    std::uint32_t classCode = 0;
};

// The device that stands for the system-devices class: the host bridge at 0000:00:00.0, which
// every PC and most boards with PCI have; otherwise the lowest-addressed bridge (base class 0x06).
// nullopt when there is none.
std::optional<std::string> chooseSystemDevice(const std::vector<PciAddressClass>& devices);

}  // namespace zelvo::platform
