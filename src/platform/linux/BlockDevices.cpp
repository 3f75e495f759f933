#include "platform/linux/BlockDevices.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform::drives {

namespace fs = std::filesystem;

namespace {

bool nameWithNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    return name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

bool hasEntry(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// The directory of the whole disk: a partition's directory sits inside its disk's.
fs::path diskOf(const fs::path& devicePath) {
    return hasEntry(devicePath / "partition") ? devicePath.parent_path() : devicePath;
}

std::optional<fs::path> resolve(const fs::path& link) {
    std::error_code ec;
    fs::path path = fs::canonical(link, ec);
    if (ec)
        return std::nullopt;
    return path;
}

std::optional<std::string> attribute(const fs::path& path) {
    return linuxfs::readTrimmed(path.string());
}

// Device-mapper devices are named in /dev/mapper by their dm name.
std::optional<fs::path> findMapperDevice(const fs::path& classBlock, const std::string& dmName) {
    for (const auto& entry : linuxfs::listDirectory(classBlock.string())) {
        if (entry.rfind("dm-", 0) == 0 && attribute(classBlock / entry / "dm" / "name") == dmName)
            return resolve(classBlock / entry);
    }
    return std::nullopt;
}

// Whether a path below <sys>/devices passes a USB bus ("usb1", "usb2": the root hubs).
bool passesUsb(const fs::path& devicePath, const fs::path& sysRoot) {
    const fs::path relative = devicePath.lexically_relative(sysRoot);
    for (const auto& part : relative) {
        if (nameWithNumber(part.string(), "usb"))
            return true;
    }
    return false;
}

void readDiskFlags(const fs::path& diskPath, const fs::path& sysRoot, BlockDevice& device, int depth) {
    device.removable = device.removable || attribute(diskPath / "removable") == "1";
    device.usb = device.usb || passesUsb(diskPath, sysRoot);
    device.sdCard = device.sdCard || attribute(diskPath / "device" / "type") == "SD";
    if (depth >= 4)
        return;
    // A stacked device (LUKS, LVM) over exactly one disk inherits that disk's nature.
    const auto slaves = linuxfs::listDirectory((diskPath / "slaves").string());
    if (slaves.size() != 1)
        return;
    const auto slave = resolve(diskPath / "slaves" / slaves.front());
    if (!slave)
        return;
    readDiskFlags(diskOf(*slave), sysRoot, device, depth + 1);
}

}  // namespace

bool BlockDevice::isOptical() const {
    return major == 11 || nameWithNumber(disk, "sr");
}
bool BlockDevice::isFloppy() const {
    return major == 2 || nameWithNumber(disk, "fd");
}
bool BlockDevice::isRamBacked() const {
    return major == 1 || nameWithNumber(disk, "zram") || nameWithNumber(disk, "ram");
}
bool BlockDevice::isLoop() const {
    return nameWithNumber(disk, "loop");
}

std::optional<BlockDevice> findBlockDevice(const std::string& sysRoot, unsigned major, unsigned minor,
                                           const std::string& source) {
    const fs::path sys(sysRoot);
    std::optional<fs::path> devicePath;
    if (major != 0) {
        devicePath = resolve(sys / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor)));
    } else if (source.rfind("/dev/mapper/", 0) == 0) {
        devicePath = findMapperDevice(sys / "class" / "block", source.substr(12));
    } else if (source.rfind("/dev/", 0) == 0) {
        const std::string name = fs::path(source).filename().string();
        if (!name.empty() && name != "." && name != "..")
            devicePath = resolve(sys / "class" / "block" / name);
    }
    if (!devicePath)
        return std::nullopt;
    const auto dev = attribute(*devicePath / "dev");
    const auto number = dev ? linuxfs::parseDeviceNumber(*dev) : std::nullopt;
    if (!number)
        return std::nullopt;  // not a block device directory

    BlockDevice device;
    device.name = devicePath->filename().string();
    device.major = number->major;
    device.minor = number->minor;
    const fs::path diskPath = diskOf(*devicePath);
    device.disk = diskPath.filename().string();
    const auto sysCanonical = resolve(sys);
    readDiskFlags(diskPath, sysCanonical.value_or(sys), device, 0);
    if (device.isLoop())
        device.loopBackingFile = attribute(diskPath / "loop" / "backing_file").value_or("");
    return device;
}

}  // namespace zelvo::platform::drives
