#include "platform/win32/Win32Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winnetwk.h>
#if defined(__i386__) || defined(__x86_64__) || defined(_M_IX86) || defined(_M_X64)
#include <intrin.h>
#define ZELVO_HAS_TSC 1
#endif

#include <algorithm>
#include <climits>
#include <limits>
#include <vector>

#include "platform/win32/CodePages.h"

namespace zelvo::platform {

namespace {

// The records the program fills are those of the 32-bit Windows headers.
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record the program passes is 148 bytes");
static_assert(sizeof(DEVMODEA) == 156, "the display-mode record the program passes is 156 bytes");

constexpr std::uintptr_t kFirstMegabyteEnd = 0x100000;

using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
using GetDiskFreeSpaceExAFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// A kernel32 function the older systems lack; null where it is missing.
template <typename Fn>
Fn kernel32Function(const char* name) {
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    if (!kernel32)
        return nullptr;
    // Through the generic function-pointer type, which converts to any other without a warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)));
}

GlobalMemoryStatusExFn globalMemoryStatusEx() {
    static const auto fn = kernel32Function<GlobalMemoryStatusExFn>("GlobalMemoryStatusEx");
    return fn;
}

GetDiskFreeSpaceExAFn diskFreeSpaceEx() {
    static const auto fn = kernel32Function<GetDiskFreeSpaceExAFn>("GetDiskFreeSpaceExA");
    return fn;
}

// The predefined root keys are sign-extended 32-bit values on 64-bit Windows
// (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there); opened keys are handles as they are.
HKEY toHkey(HKey key) {
    if (key >= kHKeyClassesRoot && key <= kHKeyDynData) {
        const auto low = static_cast<LONG>(static_cast<std::uint32_t>(key));
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(low));
    }
    return reinterpret_cast<HKEY>(key);
}

HKey fromHkey(HKEY key) {
    return reinterpret_cast<HKey>(key);
}

// The ANSI calls end every name at its first zero byte; a name that holds one names nothing
// they can reach.
bool holdsZero(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

const char* rootOrCurrent(const std::string& root) {
    return root.empty() ? nullptr : root.c_str();
}

std::int64_t signedCount(ULONGLONG bytes) {
    return static_cast<std::int64_t>(
        std::min<ULONGLONG>(bytes, static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max())));
}

int bufferLength(std::uint32_t chars) {
    return static_cast<int>(std::min<std::uint32_t>(chars, INT_MAX));
}

bool readable(const MEMORY_BASIC_INFORMATION& info) {
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return info.State == MEM_COMMIT && (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0 &&
           (info.Protect & kReadable) != 0;
}

}  // namespace

Win32Platform::Win32Platform(Win32OptionalCalls calls) : calls_(calls) {
    const auto version = getVersion();
    win9x_ = version && version->platformId == kPlatformWin9x;
}

std::optional<OsVersion> Win32Platform::getVersion() const {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return std::nullopt;
    // The 9x family's build number carries the version in its high word; it is passed on as is.
    return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

// --- computer name ---

std::uint32_t Win32Platform::computerNameBufferChars() const {
    return MAX_COMPUTERNAME_LENGTH + 1;
}

std::optional<CodePageText> Win32Platform::getComputerName(std::uint32_t bufferChars) const {
    if (bufferChars == 0)
        return std::nullopt;
    std::vector<char> buffer(bufferChars);
    DWORD size = bufferChars;
    if (!GetComputerNameA(buffer.data(), &size))
        return std::nullopt;
    return CodePageText(std::string(buffer.data(), std::min<DWORD>(size, bufferChars - 1)));
}

bool Win32Platform::setComputerName(const CodePageText& name) {
    if (holdsZero(name.bytes()))
        return false;
    return SetComputerNameA(name.bytes().c_str()) != FALSE;
}

// --- registry ---

namespace {
bool refusedRoot(bool win9x, HKey key) {
    return key == kHKeyDynData && !win9x;
}

// The checks opening and creating a key make before the call: a place for the key (cleared, so
// a failed call leaves no handle there), a root this family has, and a name the ANSI call reaches
// whole; `nameWithZero` is the status for one that holds a zero byte. kRegSuccess: go ahead.
long checkKeyCall(bool win9x, HKey parent, const std::string& subKey, HKey* result, long nameWithZero) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    if (refusedRoot(win9x, parent))
        return kRegInvalidHandle;
    if (holdsZero(subKey))
        return nameWithZero;
    return kRegSuccess;
}
}  // namespace

// HKEY_DYN_DATA exists on the 9x family only; on the NT family every call on it answers
// kRegInvalidHandle, as NT does (Wine keeps such a root in every mode; it is not used there).
long Win32Platform::regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) {
    if (const long status = checkKeyCall(win9x_, parent, subKey, result, kRegFileNotFound); status != kRegSuccess)
        return status;
    HKEY opened = nullptr;
    const REGSAM rights = access == RegAccess::Read ? KEY_READ : KEY_ALL_ACCESS;
    const LONG status = RegOpenKeyExA(toHkey(parent), subKey.c_str(), 0, rights, &opened);
    if (status == ERROR_SUCCESS)
        *result = fromHkey(opened);
    return status;
}

long Win32Platform::regCreateKey(HKey parent, const std::string& subKey, HKey* result) {
    if (const long status = checkKeyCall(win9x_, parent, subKey, result, ERROR_INVALID_PARAMETER);
        status != kRegSuccess)
        return status;
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(toHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS)
        *result = fromHkey(created);
    return status;
}

long Win32Platform::regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* size) const {
    if (refusedRoot(win9x_, key))
        return kRegInvalidHandle;
    if (holdsZero(name))
        return kRegFileNotFound;
    DWORD valueType = 0;
    DWORD valueSize = size ? *size : 0;
    const LONG status = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, type ? &valueType : nullptr, data,
                                         size ? &valueSize : nullptr);
    // Type and size are filled on success and, for a buffer too small, with the size needed.
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        if (type)
            *type = valueType;
        if (size)
            *size = valueSize;
    }
    return status;
}

long Win32Platform::regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) {
    if (refusedRoot(win9x_, key))
        return kRegInvalidHandle;
    if (holdsZero(name))
        return ERROR_INVALID_PARAMETER;
    return RegSetValueExA(toHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Platform::regEnumValue(HKey key, std::uint32_t index, std::string* name) const {
    if (refusedRoot(win9x_, key))
        return kRegInvalidHandle;
    if (!name)
        return ERROR_INVALID_PARAMETER;
    // Value names have at most 16,383 characters, two bytes each at most in the ANSI code page.
    std::vector<char> buffer(32768);
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG status = RegEnumValueA(toHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS)
        name->assign(buffer.data(), std::min<std::size_t>(length, buffer.size()));
    return status;
}

long Win32Platform::regDeleteKey(HKey parent, const std::string& subKey) {
    if (refusedRoot(win9x_, parent))
        return kRegInvalidHandle;
    if (holdsZero(subKey))
        return kRegFileNotFound;
    return RegDeleteKeyA(toHkey(parent), subKey.c_str());
}

long Win32Platform::regCloseKey(HKey key) {
    if (refusedRoot(win9x_, key))
        return kRegInvalidHandle;
    return RegCloseKey(toHkey(key));
}

// --- memory ---

// GlobalMemoryStatusEx where the system has it (not the 9x family), GlobalMemoryStatus else.
MemoryStatus Win32Platform::globalMemoryStatus() const {
    MemoryStatus status;
    if (const auto ex = calls_.globalMemoryStatusEx ? globalMemoryStatusEx() : nullptr) {
        MEMORYSTATUSEX info{};
        info.dwLength = sizeof info;
        if (ex(&info)) {
            status.memoryLoad = info.dwMemoryLoad;
            status.totalPhys = info.ullTotalPhys;
            status.availPhys = info.ullAvailPhys;
            status.totalPageFile = info.ullTotalPageFile;
            status.availPageFile = info.ullAvailPageFile;
            status.totalVirtual = info.ullTotalVirtual;
            status.availVirtual = info.ullAvailVirtual;
            return status;
        }
    }
    MEMORYSTATUS info{};
    info.dwLength = sizeof info;
    GlobalMemoryStatus(&info);
    status.memoryLoad = info.dwMemoryLoad;
    status.totalPhys = info.dwTotalPhys;
    status.availPhys = info.dwAvailPhys;
    status.totalPageFile = info.dwTotalPageFile;
    status.availPageFile = info.dwAvailPageFile;
    status.totalVirtual = info.dwTotalVirtual;
    status.availVirtual = info.dwAvailVirtual;
    return status;
}

// --- drives ---

std::uint32_t Win32Platform::getLogicalDrives() const {
    return GetLogicalDrives();
}

std::uint32_t Win32Platform::getDriveType(const std::string& root) const {
    if (holdsZero(root))
        return kDriveNoRootDir;
    return GetDriveTypeA(rootOrCurrent(root));
}

// Whether kernel32 exports GetDiskFreeSpaceExA (Windows 95 before OSR2 does not).
bool Win32Platform::hasDiskFreeSpaceEx() const {
    return calls_.getDiskFreeSpaceEx && diskFreeSpaceEx() != nullptr;
}

std::optional<DiskSpace> Win32Platform::getDiskFreeSpaceEx(const std::string& root) const {
    const auto fn = calls_.getDiskFreeSpaceEx ? diskFreeSpaceEx() : nullptr;
    if (!fn || holdsZero(root))
        return std::nullopt;
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER totalFree{};
    if (!fn(rootOrCurrent(root), &available, &total, &totalFree))
        return std::nullopt;
    return DiskSpace{signedCount(total.QuadPart), signedCount(available.QuadPart), signedCount(totalFree.QuadPart)};
}

std::optional<DiskClusters> Win32Platform::getDiskFreeSpace(const std::string& root) const {
    if (holdsZero(root))
        return std::nullopt;
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    if (!GetDiskFreeSpaceA(rootOrCurrent(root), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return std::nullopt;
    return DiskClusters{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
}

std::optional<VolumeInformation> Win32Platform::getVolumeInformation(const std::string& root) const {
    if (holdsZero(root))
        return std::nullopt;
    char label[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    VolumeInformation info;
    DWORD serial = 0;
    DWORD maxComponentLength = 0;
    DWORD flags = 0;
    if (!GetVolumeInformationA(rootOrCurrent(root), label, sizeof label, &serial, &maxComponentLength, &flags,
                               fileSystem, sizeof fileSystem))
        return std::nullopt;
    info.label = CodePageText(label);
    info.serial = serial;
    info.maxComponentLength = maxComponentLength;
    info.flags = flags;
    info.fileSystem = CodePageText(fileSystem);
    return info;
}

std::uint32_t Win32Platform::setErrorMode(std::uint32_t mode) {
    return SetErrorMode(mode);
}

std::optional<CodePageText> Win32Platform::wnetGetConnection(const std::string& localName) const {
    if (holdsZero(localName))
        return std::nullopt;
    std::vector<char> buffer(MAX_PATH + 1);
    DWORD length = static_cast<DWORD>(buffer.size());
    DWORD status = WNetGetConnectionA(localName.c_str(), buffer.data(), &length);
    if (status == ERROR_MORE_DATA) {
        buffer.assign(length + 1, '\0');
        length = static_cast<DWORD>(buffer.size());
        status = WNetGetConnectionA(localName.c_str(), buffer.data(), &length);
    }
    if (status != NO_ERROR)
        return std::nullopt;
    buffer.back() = '\0';
    return CodePageText(buffer.data());
}

std::optional<CodePageText> Win32Platform::getCurrentDirectory() const {
    // The first call tells the size with the terminating zero; the directory may change between
    // the calls, so the second one is checked again.
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    for (int attempt = 0; attempt < 4 && size > 0; ++attempt) {
        std::string buffer(size, '\0');
        const DWORD length = GetCurrentDirectoryA(size, buffer.data());
        if (length == 0)
            break;
        if (length < size) {
            buffer.resize(length);
            return CodePageText(std::move(buffer));
        }
        size = length;
    }
    return std::nullopt;
}

// --- display ---

namespace {

std::optional<DisplayMode> displayModeAt(DWORD index) {
    DEVMODEA record{};
    record.dmSize = sizeof record;  // 156, the program's record; Wine ignores the field
    if (!EnumDisplaySettingsA(nullptr, index, &record))
        return std::nullopt;
    DisplayMode mode;
    mode.width = record.dmPelsWidth;
    mode.height = record.dmPelsHeight;
    mode.bitsPerPixel = record.dmBitsPerPel;
    // 0 and 1 both stand for the hardware's default rate.
    mode.frequency = record.dmDisplayFrequency > 1 ? record.dmDisplayFrequency : 0;
    return mode;
}

}  // namespace

std::optional<DisplayMode> Win32Platform::enumDisplaySettings(std::uint32_t index) const {
    // The two highest indices ask for the current and the stored mode, not a listed one.
    if (index >= ENUM_REGISTRY_SETTINGS)
        return std::nullopt;
    return displayModeAt(index);
}

std::optional<DisplayMode> Win32Platform::currentDisplayMode() const {
    return displayModeAt(ENUM_CURRENT_SETTINGS);
}

// --- time and sound ---

std::uint32_t Win32Platform::getTickCount() {
    return GetTickCount();
}

std::uint64_t Win32Platform::readCycleCounter() const {
#ifdef ZELVO_HAS_TSC
    return __rdtsc();
#else
    // No time-stamp counter on this processor: the performance counter counts instead.
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return static_cast<std::uint64_t>(count.QuadPart);
#endif
}

void Win32Platform::messageBeep(std::uint32_t type) {
    MessageBeep(type);
}

// --- locale ---

std::optional<CodePageText> Win32Platform::getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const {
    if (bufferChars == 0)
        return std::nullopt;
    std::vector<char> buffer(bufferChars);
    const LCTYPE type = item == LocaleItem::ThousandSeparator ? LOCALE_STHOUSAND : LOCALE_SDECIMAL;
    // A setting longer than the buffer makes the call fail.
    const int length = GetLocaleInfoA(GetThreadLocale(), type, buffer.data(), bufferLength(bufferChars));
    if (length <= 0)
        return std::nullopt;
    return CodePageText(std::string(buffer.data(), static_cast<std::size_t>(length - 1)));
}

void Win32Platform::resetThreadLocale() {
    SetThreadLocale(LOCALE_USER_DEFAULT);
}

// --- program files ---

std::optional<CodePageText> Win32Platform::programPath() const {
    // A path that fills the buffer may have been cut short: try again with a larger one.
    for (DWORD size = MAX_PATH + 1; size <= 32768 * 2; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            return std::nullopt;
        if (length < size - 1) {
            buffer.resize(length);
            return CodePageText(std::move(buffer));
        }
    }
    return std::nullopt;
}

char Win32Platform::pathSeparator() const {
    return '\\';
}

bool Win32Platform::createDirectory(const CodePageText& path) {
    if (holdsZero(path.bytes()))
        return false;
    return CreateDirectoryA(path.bytes().c_str(), nullptr) != FALSE;
}

// --- BIOS ROM ---

// The 9x family maps the BIOS ROM into every process. The string is read only where the
// address lies in committed, readable memory, and only up to the end of the first megabyte,
// so a process that cannot see the ROM gets nullopt rather than a fault. On the NT family
// nothing at those addresses is the ROM: nullopt.
std::optional<CodePageText> Win32Platform::readRomString(std::uint32_t address) const {
    if (!win9x_ || address >= kFirstMegabyteEnd)
        return std::nullopt;
    std::string text;
    std::uintptr_t at = address;
    while (at < kFirstMegabyteEnd) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(reinterpret_cast<LPCVOID>(at), &info, sizeof info) == 0 || !readable(info)) {
            if (at == address)
                return std::nullopt;
            break;  // the string runs into memory that cannot be read: it ends there
        }
        const auto regionEnd =
            std::min(reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize, kFirstMegabyteEnd);
        for (; at < regionEnd; ++at) {
            const char c = *reinterpret_cast<const volatile char*>(at);
            if (c == '\0')
                return CodePageText(std::move(text));
            text += c;
        }
    }
    return CodePageText(std::move(text));
}

// --- code page ---

std::string Win32Platform::toUtf8(const CodePageText& text) const {
    return windows::convertCodePage(text.bytes(), CP_ACP, CP_UTF8);
}

CodePageText Win32Platform::fromUtf8(std::string_view utf8) const {
    return CodePageText(windows::convertCodePage(utf8, CP_UTF8, CP_ACP));
}

bool Win32Platform::isLeadByte(std::uint8_t byte) const {
    return IsDBCSLeadByte(byte) != FALSE;
}

bool Win32Platform::hasLeadBytes() const {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

std::unique_ptr<Platform> createSystemPlatform() {
    return std::make_unique<Win32Platform>();
}

}  // namespace zelvo::platform
