#pragma once
// The read-only registry keys filled from the machine: processor, BIOS and one system-devices
// driver entry, under the paths Windows keeps them at (platform/RegistryKeys.h).

#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/linux/LinuxRoots.h"

namespace zelvo::platform {

struct DriverEntry {
    std::string description;
    std::string version;
};

// The system-devices entry: the host bridge (or the first bridge) named from the udev hardware
// database or the first readable of `pciIdsFiles`, with its driver module's version, or the
// kernel release when the kernel itself drives it (a built-in driver, or none but the PCI core).
std::optional<DriverEntry> systemDevicesDriver(const LinuxRoots& roots, const std::vector<std::string>& pciIdsFiles,
                                               const std::string& kernelRelease);

// Creates the processor, BIOS and driver keys in `tree` from the machine. The keys may be read
// but refuse all-access opening and writes, as a machine key does for an ordinary user.
void fillMachineKeys(RegistryTree& tree, const LinuxRoots& roots, const std::vector<std::string>& pciIdsFiles,
                     const std::string& kernelRelease);

}  // namespace zelvo::platform
