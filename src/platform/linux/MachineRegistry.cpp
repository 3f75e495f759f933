#include "platform/linux/MachineRegistry.h"

#include <string_view>

#include "platform/RegistryKeys.h"
#include "platform/linux/CpuInfo.h"
#include "platform/linux/Dmi.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/PciDevice.h"

namespace zelvo::platform {

namespace {

using linuxfs::joinPath;
using namespace regkeys;

RegValue stringValue(std::string_view text) {
    RegValue value{kRegSz, std::string(text)};
    value.data += '\0';
    return value;
}

// Makes every key on the way to `path` refuse all-access opening, and the subtree refuse writes.
void protect(RegistryTree& tree, std::string_view path) {
    std::size_t end = 0;
    while (end != std::string_view::npos) {
        end = path.find('\\', end + 1);
        tree.setRefuseAllAccess(kHKeyLocalMachine, path.substr(0, end), true);
    }
    tree.setReadOnly(kHKeyLocalMachine, path.substr(0, path.find('\\')), true);
}

std::optional<std::uint16_t> pciId(const std::string& path) {
    const auto text = linuxfs::readTrimmed(path);
    const auto value = text ? linuxfs::parseHexadecimal(*text) : std::nullopt;
    if (!value || *value > 0xffff)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

void fillProcessor(RegistryTree& tree, const LinuxRoots& roots) {
    const auto cpuinfo = linuxfs::readFile(joinPath(roots.proc, "/cpuinfo"));
    const auto compatible = linuxfs::readFile(joinPath(roots.sys, "/firmware/devicetree/base/cpus/cpu@0/compatible"));
    const CpuIdentity cpu = parseCpuIdentity(cpuinfo.value_or(""), compatible.value_or(""));
    tree.createKey(kHKeyLocalMachine, kProcessorNT);
    if (!cpu.name.empty())
        tree.setValue(kHKeyLocalMachine, kProcessorNT, kProcessorNameNT, stringValue(cpu.name));
    if (!cpu.vendor.empty())
        tree.setValue(kHKeyLocalMachine, kProcessorNT, kVendorIdentifier, stringValue(cpu.vendor));
    protect(tree, kProcessorNT);
}

void fillBios(RegistryTree& tree, const LinuxRoots& roots) {
    const std::string dmi = joinPath(roots.sys, "/class/dmi/id");
    auto model = linuxfs::readFile(joinPath(roots.proc, "/device-tree/model"), 4096);
    if (!model)
        model = linuxfs::readFile(joinPath(roots.sys, "/firmware/devicetree/base/model"), 4096);
    const BiosIdentity bios = biosIdentity(
        linuxfs::readTrimmed(dmi + "/bios_vendor"), linuxfs::readTrimmed(dmi + "/bios_version"),
        linuxfs::readTrimmed(dmi + "/bios_release"), linuxfs::readTrimmed(dmi + "/bios_date"), deviceTreeModel(model));
    tree.createKey(kHKeyLocalMachine, kSystem);
    if (!bios.versionPieces.empty())
        tree.setValue(kHKeyLocalMachine, kSystem, kSystemBiosVersion,
                      RegValue{kRegMultiSz, multiString(bios.versionPieces)});
    if (bios.date)
        tree.setValue(kHKeyLocalMachine, kSystem, kSystemBiosDate, stringValue(*bios.date));
    protect(tree, kSystem);
}

}  // namespace

std::optional<DriverEntry> systemDevicesDriver(const LinuxRoots& roots, const std::vector<std::string>& pciIdsFiles,
                                               const std::string& kernelRelease) {
    const std::string devices = joinPath(roots.sys, "/bus/pci/devices");
    std::vector<PciAddressClass> candidates;
    for (const std::string& address : linuxfs::listDirectory(devices)) {
        if (address == "0000:00:00.0") {
            candidates.push_back({address, 0});
            break;
        }
        const auto text = linuxfs::readTrimmed(devices + "/" + address + "/class");
        const auto classCode = text ? linuxfs::parseHexadecimal(*text) : std::nullopt;
        candidates.push_back({address, static_cast<std::uint32_t>(classCode.value_or(0))});
    }
    const auto address = chooseSystemDevice(candidates);
    if (!address)
        return std::nullopt;
    const std::string device = devices + "/" + *address;
    const auto vendorId = pciId(device + "/vendor");
    const auto deviceId = pciId(device + "/device");
    if (!vendorId || !deviceId)
        return std::nullopt;

    // udev's hardware database names the device without reading the large pci.ids file.
    std::optional<PciIdsName> name;
    if (const auto udev = linuxfs::readFile(joinPath(roots.udevData, "/+pci:" + *address), linuxfs::kKernelTextLimit)) {
        const auto vendor = udevProperty(*udev, "ID_VENDOR_FROM_DATABASE");
        if (vendor)
            name = PciIdsName{*vendor, udevProperty(*udev, "ID_MODEL_FROM_DATABASE")};
    }
    for (const std::string& file : pciIdsFiles) {
        if (name && name->device)
            break;
        const linuxfs::MappedFile ids(file);
        if (!ids.isOpen())
            continue;
        if (auto found = lookupPciIds(ids.text(), *vendorId, *deviceId); found && (!name || found->device))
            name = std::move(found);
    }

    DriverEntry entry{pciDescription(name, *vendorId, *deviceId), kernelRelease};
    if (const auto module = linuxfs::readLink(device + "/driver/module"))
        if (const auto version =
                linuxfs::readTrimmed(joinPath(roots.sys, "/module/" + linuxfs::baseName(*module)) + "/version");
            version && !version->empty())
            entry.version = *version;
    return entry;
}

void fillMachineKeys(RegistryTree& tree, const LinuxRoots& roots, const std::vector<std::string>& pciIdsFiles,
                     const std::string& kernelRelease) {
    fillProcessor(tree, roots);
    fillBios(tree, roots);
    if (const auto driver = systemDevicesDriver(roots, pciIdsFiles, kernelRelease)) {
        tree.setValue(kHKeyLocalMachine, kSystemDevicesDriver, kDriverDesc, stringValue(driver->description));
        tree.setValue(kHKeyLocalMachine, kSystemDevicesDriver, kDriverVersion, stringValue(driver->version));
        protect(tree, kSystemDevicesDriver);
    }
}

}  // namespace zelvo::platform
