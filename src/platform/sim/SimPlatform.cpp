#include "platform/sim/SimPlatform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/CodePage.h"
#include "platform/ErrorModeScope.h"

namespace zelvo::platform {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

bool startsWithPath(std::string_view path, std::string_view prefix) {
    return path.size() >= prefix.size() && sameText(path.substr(0, prefix.size()), prefix) &&
           (path.size() == prefix.size() || path[prefix.size()] == '\\');
}

bool isLetterPath(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && upper(path[0]) >= 'A' && upper(path[0]) <= 'Z';
}

std::uint32_t clusters(std::int64_t bytes, std::uint64_t clusterBytes) {
    if (bytes <= 0)
        return 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(bytes) / clusterBytes,
                                                              std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

SimPlatform::SimPlatform(SimMachine& machine) : machine_(&machine) {}

SimPlatform::SimPlatform(SimMachine&& machine)
    : owned_(std::make_unique<SimMachine>(std::move(machine))), machine_(owned_.get()) {}

std::optional<OsVersion> SimPlatform::getVersion() const {
    return machine_->version;
}

// --- computer name ---

std::uint32_t SimPlatform::computerNameBufferChars() const {
    return 16;  // the Windows buffer: 15 characters and the terminating zero
}

std::optional<CodePageText> SimPlatform::getComputerName(std::uint32_t bufferChars) const {
    if (!machine_->computerName)
        return std::nullopt;
    CodePageText name = fromUtf8(*machine_->computerName);
    // The buffer must hold the name and its terminating zero.
    if (name.size() + 1 > bufferChars)
        return std::nullopt;
    return name;
}

bool SimPlatform::setComputerName(const CodePageText& name) {
    const std::string utf8 = toUtf8(name);
    const auto& accept = machine_->acceptComputerName;
    if (!(accept ? accept(utf8) : defaultComputerNameRule(utf8)))
        return false;
    // Windows keeps the new name for the next start; the running system keeps its name.
    machine_->pendingComputerName = utf8;
    return true;
}

// --- memory ---

MemoryStatus SimPlatform::globalMemoryStatus() const {
    return machine_->memory;
}

// --- drives ---

SimDrive* SimPlatform::driveOfPath(const std::string& utf8Path) const {
    const std::string& path = utf8Path.empty() ? machine_->currentDirectory : utf8Path;
    if (isLetterPath(path))
        return machine_->drive(path[0]);
    if (path.rfind("\\\\", 0) == 0) {
        for (auto& slot : machine_->drives)
            if (slot && slot->type == kDriveRemote && !slot->remoteName.empty() &&
                startsWithPath(path, slot->remoteName))
                return &*slot;
    }
    return nullptr;
}

SimDrive* SimPlatform::driveOfRoot(const std::string& root) const {
    if (root.size() != 3 || !isLetterPath(root) || root[2] != '\\')
        return nullptr;
    return machine_->drive(root[0]);
}

SimDrive* SimPlatform::readableDrive(SimDrive* drive) const {
    if (!drive)
        return nullptr;
    if (!drive->mediumPresent) {
        if ((machine_->errorMode & kSemFailCriticalErrors) == 0)
            ++machine_->criticalErrorPrompts;
        return nullptr;
    }
    return drive;
}

std::uint32_t SimPlatform::getLogicalDrives() const {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < machine_->drives.size(); ++i)
        if (machine_->drives[i])
            mask |= 1u << i;
    return mask;
}

std::uint32_t SimPlatform::getDriveType(const std::string& root) const {
    const SimDrive* drive = root.empty() ? driveOfPath(root) : driveOfRoot(cp932::toUtf8(root));
    return drive ? drive->type : kDriveNoRootDir;
}

bool SimPlatform::hasDiskFreeSpaceEx() const {
    return machine_->hasDiskFreeSpaceEx;
}

std::optional<DiskSpace> SimPlatform::getDiskFreeSpaceEx(const std::string& root) const {
    if (!machine_->hasDiskFreeSpaceEx)
        return std::nullopt;
    const SimDrive* drive = readableDrive(driveOfPath(cp932::toUtf8(root)));
    if (!drive)
        return std::nullopt;
    return DiskSpace{drive->totalBytes, drive->freeBytes, drive->freeBytes};
}

std::optional<DiskClusters> SimPlatform::getDiskFreeSpace(const std::string& root) const {
    const SimDrive* drive = readableDrive(driveOfPath(cp932::toUtf8(root)));
    if (!drive || drive->bytesPerSector == 0 || drive->sectorsPerCluster == 0)
        return std::nullopt;
    const std::uint64_t clusterBytes = std::uint64_t{drive->bytesPerSector} * drive->sectorsPerCluster;
    return DiskClusters{drive->sectorsPerCluster, drive->bytesPerSector, clusters(drive->freeBytes, clusterBytes),
                        clusters(drive->totalBytes, clusterBytes)};
}

std::optional<VolumeInformation> SimPlatform::getVolumeInformation(const std::string& root) const {
    const SimDrive* drive = readableDrive(driveOfRoot(cp932::toUtf8(root)));
    if (!drive)
        return std::nullopt;
    VolumeInformation info;
    info.label = fromUtf8(drive->label);
    info.serial = drive->serial;
    info.maxComponentLength = 255;
    info.fileSystem = fromUtf8(drive->fileSystem);
    return info;
}

std::uint32_t SimPlatform::setErrorMode(std::uint32_t mode) {
    return std::exchange(machine_->errorMode, mode);
}

std::optional<CodePageText> SimPlatform::wnetGetConnection(const std::string& localName) const {
    if (localName.size() != 2 || localName[1] != ':')
        return std::nullopt;
    const SimDrive* drive = machine_->drive(localName[0]);
    if (!drive || drive->type != kDriveRemote || drive->remoteName.empty())
        return std::nullopt;
    return fromUtf8(drive->remoteName);
}

std::optional<CodePageText> SimPlatform::getCurrentDirectory() const {
    // A machine without one stands for a directory that cannot be read.
    if (machine_->currentDirectory.empty())
        return std::nullopt;
    return fromUtf8(machine_->currentDirectory);
}

// --- display ---

std::optional<DisplayMode> SimPlatform::enumDisplaySettings(std::uint32_t index) const {
    if (index >= machine_->displayModes.size())
        return std::nullopt;
    return machine_->displayModes[index];
}

// --- time and sound ---

std::uint32_t SimPlatform::getTickCount() {
    if (machine_->tickCount)
        return machine_->tickCount();
    SimClock& clock = machine_->clock;
    clock.nowMs += clock.stepMs;
    return static_cast<std::uint32_t>(clock.nowMs);
}

std::uint64_t SimPlatform::readCycleCounter() const {
    if (machine_->cycleCounter)
        return machine_->cycleCounter();
    const SimClock& clock = machine_->clock;
    const double cycles = static_cast<double>(clock.nowMs) * std::max(clock.cyclesPerSecond, 0.0) / 1000.0;
    return static_cast<std::uint64_t>(std::llround(cycles));
}

void SimPlatform::messageBeep(std::uint32_t type) {
    machine_->beeps.push_back(type);
}

// --- locale ---

std::optional<CodePageText> SimPlatform::getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const {
    const auto& setting =
        item == LocaleItem::ThousandSeparator ? machine_->thousandSeparator : machine_->decimalSeparator;
    if (!setting)
        return std::nullopt;
    CodePageText text = fromUtf8(*setting);
    if (text.size() + 1 > bufferChars)
        return std::nullopt;
    return text;
}

void SimPlatform::resetThreadLocale() {
    ++machine_->threadLocaleResets;
}

// --- program files ---

std::optional<CodePageText> SimPlatform::programPath() const {
    if (machine_->programPath.empty())
        return std::nullopt;
    return fromUtf8(machine_->programPath);
}

char SimPlatform::pathSeparator() const {
    return '\\';
}

bool SimPlatform::createDirectory(const CodePageText& path) {
    std::string utf8 = toUtf8(path);
    while (utf8.size() > 1 && utf8.back() == '\\')
        utf8.pop_back();
    const SimDrive* drive = readableDrive(driveOfPath(utf8));
    // A CD-ROM cannot be written to.
    if (!drive || drive->type == kDriveCdrom)
        return false;
    const std::size_t cut = utf8.rfind('\\');
    if (cut == std::string::npos)
        return false;  // a drive root ("C:") or a bare name
    const std::string parent = utf8.substr(0, cut);
    const auto exists = [&](std::string_view dir) {
        return std::any_of(machine_->directories.begin(), machine_->directories.end(),
                           [&](const std::string& known) { return sameText(known, dir); });
    };
    const bool parentIsRoot = (isLetterPath(parent) && parent.size() == 2) ||
                              (drive->type == kDriveRemote && sameText(parent, drive->remoteName));
    if (cut + 1 == utf8.size() || exists(utf8) || !(parentIsRoot || exists(parent)))
        return false;
    machine_->directories.insert(utf8);
    return true;
}

// --- BIOS ROM ---

std::optional<CodePageText> SimPlatform::readRomString(std::uint32_t address) const {
    if (!machine_->romMapped)
        return std::nullopt;
    const auto& rom = machine_->romStrings;
    auto it = rom.upper_bound(address);
    if (it == rom.begin())
        return CodePageText();
    --it;
    const std::string bytes = fromUtf8(it->second).bytes();
    const std::uint32_t offset = address - it->first;
    return CodePageText(offset < bytes.size() ? bytes.substr(offset) : std::string());
}

// --- code page ---

std::string SimPlatform::toUtf8(const CodePageText& text) const {
    return cp932::toUtf8(text.bytes());
}
CodePageText SimPlatform::fromUtf8(std::string_view utf8) const {
    return CodePageText(cp932::fromUtf8(utf8));
}
bool SimPlatform::isLeadByte(std::uint8_t byte) const {
    return cp932::isLeadByte(byte);
}
bool SimPlatform::hasLeadBytes() const {
    return true;
}

}  // namespace zelvo::platform
