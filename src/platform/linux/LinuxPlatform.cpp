#include "platform/linux/LinuxPlatform.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <QString>

#include <algorithm>
#include <ctime>

#include "platform/RegistryKeys.h"
#include "platform/linux/CacheFolder.h"
#include "platform/linux/CgroupMemory.h"
#include "platform/linux/CycleCounter.h"
#include "platform/linux/DisplayModes.h"
#include "platform/linux/DrmModes.h"
#include "platform/linux/HostnameService.h"
#include "platform/linux/KernelHostName.h"
#include "platform/linux/KernelRelease.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/LocaleSettingsWatch.h"
#include "platform/linux/MachineRegistry.h"
#include "platform/linux/MemInfo.h"
#include "platform/linux/RegistrationStore.h"
#include "platform/linux/UserLocale.h"

namespace zelvo::platform {

namespace {

using linuxfs::joinPath;

// The size of the user address space, which the memory-status record calls the virtual total.
std::uint64_t userAddressSpace() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return limit.rlim_cur;
    if constexpr (sizeof(void*) == 4)
        return std::uint64_t{3} << 30;
#if defined(__x86_64__)
    return (std::uint64_t{1} << 47) - 4096;  // 4-level paging's user half
#else
    return std::uint64_t{1} << 48;
#endif
}

std::string validUtf8(std::string_view bytes) {
    const QByteArray utf8 = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace

LinuxPlatform::LinuxPlatform(LinuxPlatformOptions options)
    : roots_(std::move(options.roots)),
      cacheHome_(options.cacheHome ? std::move(options.cacheHome) : userCacheHome()),
      hostnameService_(std::move(options.hostnameService)),
      xrandr_(std::move(options.xrandr)),
      localeWatchDelay_(options.localeWatchDelay),
      localeFiles_(localeSettingsFiles(options.configHome.empty() ? userConfigHome() : options.configHome, roots_.etc)),
      systemLocale_(std::move(options.systemLocale)),
      cycleCounter_(std::make_unique<CycleCounter>(roots_.sys)),
      drives_(std::make_unique<LinuxDrives>(roots_)) {
    if (!hostnameService_)
        hostnameService_ = makeDBusHostnameService();
    if (!xrandr_)
        xrandr_ = makeX11XrandrSource([this] { return desktop_.x11Connection; });
    if (!systemLocale_)
        systemLocale_ = makeUserLocaleSource(localeFiles_);
    threadLocale_ = systemLocale_();

    // Linux is presented as the NT family, which has no HKEY_DYN_DATA.
    registry_.setRootPresent(kHKeyDynData, false);
    fillMachineKeys(registry_, roots_, options.pciIdsFiles, kernelRelease());
    const QString directory =
        options.registrationDirectory.isEmpty() ? defaultRegistrationDirectory() : options.registrationDirectory;
    const std::string owner = options.defaultOwner ? *options.defaultOwner : currentAccountOwner();
    registry_.createKey(kHKeyLocalMachine, regkeys::kVersionNT);
    registry_.setStore(kHKeyLocalMachine, regkeys::kVersionNT, std::make_shared<RegistrationStore>(directory, owner));
}

LinuxPlatform::~LinuxPlatform() = default;

void LinuxPlatform::connectDesktop(DesktopServices services) {
    desktop_ = std::move(services);
    // Nothing tells a Linux program that the user changed the regional settings: the files that
    // hold them are watched instead.
    localeWatch_.reset();
    if (desktop_.settingsChanged)
        localeWatch_ = std::make_unique<LocaleSettingsWatch>(localeFiles_, desktop_.settingsChanged, localeWatchDelay_);
}

std::string LinuxPlatform::kernelRelease() const {
    return linuxfs::readTrimmed(joinPath(roots_.proc, "/sys/kernel/osrelease")).value_or("");
}

std::optional<OsVersion> LinuxPlatform::getVersion() const {
    // The family is what the pages ask; the numbers are the kernel's (6.1.44 → 6, 1, build 44),
    // 0 where the release cannot be read.
    const KernelVersion kernel = parseKernelRelease(kernelRelease());
    return OsVersion{kPlatformNT, kernel.major, kernel.minor, kernel.patch};
}

std::uint32_t LinuxPlatform::computerNameBufferChars() const {
    return kMaxHostNameBytes + 1;
}

std::optional<CodePageText> LinuxPlatform::getComputerName(std::uint32_t bufferChars) const {
    const auto text = linuxfs::readFile(joinPath(roots_.proc, "/sys/kernel/hostname"), 4096);
    return codePageText(text ? hostNameFromKernelText(*text, bufferChars) : std::nullopt);
}

bool LinuxPlatform::setComputerName(const CodePageText& name) {
    // Checked here so that nothing malformed ever reaches the system service.
    if (!isValidHostName(name.bytes()))
        return false;
    return hostnameService_->setHostName(name.bytes());
}

MemoryStatus LinuxPlatform::globalMemoryStatus() const {
    const auto meminfo = linuxfs::readFile(joinPath(roots_.proc, "/meminfo"), linuxfs::kKernelTextLimit);
    if (!cgroupMemory_)
        cgroupMemory_ = std::make_unique<CgroupMemory>(roots_);
    const auto status = memoryStatusFrom(parseMemInfo(meminfo.value_or("")), cgroupMemory_->bound());
    // Without a readable, usable meminfo the record stays zero, as a failed query leaves it.
    MemoryStatus result = status.value_or(MemoryStatus{});
    result.totalVirtual = userAddressSpace();
    const auto self = linuxfs::readFile(joinPath(roots_.proc, "/self/status"), linuxfs::kKernelTextLimit);
    const std::uint64_t used = self ? procSizeField(*self, "VmSize").value_or(0) : 0;
    result.availVirtual = result.totalVirtual > used ? result.totalVirtual - used : 0;
    return result;
}

Drives& LinuxPlatform::drives() {
    return *drives_;
}

std::vector<DisplayMode> LinuxPlatform::readDisplayModes() const {
    // The X server's list (it names the primary output), then the kernel's connectors (Wayland, a
    // console), then the screen the toolkit shows: on Wayland, the mode the compositor reports for
    // the output (a nested, virtual or headless compositor has no connector in reach).
    std::vector<DisplayMode> modes;
    if (desktop_.windowSystem == WindowSystem::Other)
        if (const auto screen = xrandr_->query())
            modes = modesFromXrandr(*screen);
    if (modes.empty())
        modes = readDrmModes(roots_.sys);
    if (modes.empty() && desktop_.currentScreen)
        if (const auto screen = desktop_.currentScreen())
            modes = {*screen};
    return modes;
}

std::optional<DisplayMode> LinuxPlatform::enumDisplaySettings(std::uint32_t index) const {
    // The page enumerates from 0 upwards: the list is read afresh at index 0 (the X connection
    // lasts only for that read) and served from memory for the other indices.
    if (index == 0 || !displayModesRead_) {
        displayModes_ = readDisplayModes();
        displayModesRead_ = true;
    }
    if (index >= displayModes_.size())
        return std::nullopt;
    return displayModes_[index];
}

std::uint32_t LinuxPlatform::getTickCount() {
    // CLOCK_BOOTTIME counts suspended time too, as GetTickCount does.
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    const std::uint64_t ms =
        static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

std::uint64_t LinuxPlatform::readCycleCounter() const {
    return cycleCounter_->read();
}

void LinuxPlatform::messageBeep(std::uint32_t) {
    if (desktop_.beep)
        desktop_.beep();
}

std::optional<CodePageText> LinuxPlatform::getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const {
    const QString text =
        item == LocaleItem::ThousandSeparator ? threadLocale_.groupSeparator() : threadLocale_.decimalPoint();
    // The buffer counts characters: the narrow no-break space of a French locale is one character
    // of three UTF-8 bytes.
    if (static_cast<std::uint64_t>(text.toUcs4().size()) >= bufferChars)
        return std::nullopt;
    return CodePageText(text.toStdString());
}

void LinuxPlatform::resetThreadLocale() {
    // The settings as they stand now, not the environment the process started with.
    threadLocale_ = systemLocale_();
}

char LinuxPlatform::pathSeparator() const {
    return '/';
}

std::optional<CodePageText> LinuxPlatform::programPath() const {
    return codePageText(linuxfs::readLink(joinPath(roots_.proc, "/self/exe")));
}

bool LinuxPlatform::createDirectory(const CodePageText& path) {
    return ::mkdir(path.bytes().c_str(), 0777) == 0;
}

bool LinuxPlatform::createTempData() {
    if (!cacheHome_ || cacheHome_->empty())
        return false;
    const std::string folder = *cacheHome_ + "/zelvo";
    return makePrivateFolders(folder) && createDirectory(CodePageText(folder + "/TempData"));
}

std::optional<CodePageText> LinuxPlatform::readRomString(std::uint32_t) const {
    // Like the NT family, Linux maps no BIOS ROM into a process; the firmware tables are read instead.
    return std::nullopt;
}

std::string LinuxPlatform::toUtf8(const CodePageText& text) const {
    // Bytes that are not UTF-8 (a file name from another code page) become U+FFFD.
    return validUtf8(text.bytes());
}

CodePageText LinuxPlatform::fromUtf8(std::string_view utf8) const {
    return CodePageText(validUtf8(utf8));
}

bool LinuxPlatform::isLeadByte(std::uint8_t) const {
    return false;  // UTF-8 has no double-byte characters
}

bool LinuxPlatform::hasLeadBytes() const {
    return false;
}

std::unique_ptr<Platform> createSystemPlatform() {
    return std::make_unique<LinuxPlatform>();
}

}  // namespace zelvo::platform
