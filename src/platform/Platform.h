#pragma once
// The operating-system calls the pages make, one method per call. Every backend (the simulated
// machine, Linux, Windows) answers them with the Windows meaning of the call, so the page logic
// is written once. Text crosses this interface as bytes in the platform's code page (CP932 on the
// simulated machine, UTF-8 on Linux, the ANSI code page on Windows); `toUtf8`/`fromUtf8` convert.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zelvo::platform {

// Registry status codes: the Windows error numbers, so the win32 backend passes them through.
enum RegStatus : long {
    kRegSuccess = 0,
    kRegFileNotFound = 2,
    kRegAccessDenied = 5,
    kRegInvalidHandle = 6,
    kRegMoreData = 234,
    kRegNoMoreItems = 259,
};

// Registry value types.
enum RegType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
    kRegResourceList = 8,
    kRegQword = 11,
};

using HKey = std::uintptr_t;
inline constexpr HKey kHKeyClassesRoot = 0x80000000u;
inline constexpr HKey kHKeyCurrentUser = 0x80000001u;
inline constexpr HKey kHKeyLocalMachine = 0x80000002u;
inline constexpr HKey kHKeyUsers = 0x80000003u;
inline constexpr HKey kHKeyDynData = 0x80000006u;

enum class RegAccess { Read, AllAccess };

// Platform identifiers of the version query.
inline constexpr std::uint32_t kPlatformWin9x = 1;
inline constexpr std::uint32_t kPlatformNT = 2;

struct OsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// Byte counts are 64-bit throughout: a 32-bit record would cap every figure at 4 GiB.
struct MemoryStatus {
    std::uint32_t memoryLoad = 0;  // per cent
    std::uint64_t totalPhys = 0;   // bytes
    std::uint64_t availPhys = 0;   // bytes the system can hand out without swapping
    std::uint64_t totalPageFile = 0;
    std::uint64_t availPageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availVirtual = 0;
};

struct DiskSpace {
    std::int64_t totalBytes = 0;
    std::int64_t freeBytesAvailable = 0;  // to the calling user (quotas, reserved blocks)
    std::int64_t totalFreeBytes = 0;
};

struct DiskClusters {
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    std::uint32_t totalClusters = 0;
};

struct VolumeInformation {
    std::string label;  // code-page bytes
    std::uint32_t serial = 0;
    std::uint32_t maxComponentLength = 0;
    std::uint32_t flags = 0;
    std::string fileSystem;  // code-page bytes
};

// Drive types of the drive-type query.
enum DriveType : std::uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

struct DisplayMode {
    std::uint32_t width = 0;         // pixels
    std::uint32_t height = 0;        // pixels
    std::uint32_t bitsPerPixel = 0;  // colour depth
    std::uint32_t frequency = 0;     // Hz, 0 when unknown
};

enum class LocaleItem { ThousandSeparator, DecimalSeparator };

// The window system the program's windows are on, which decides where the display modes come from.
// XRandR is not asked on Wayland: the X server of $DISPLAY there is Xwayland, which knows only what
// the compositor told it, and which some compositors start on the first connection.
// Unconnected: a report, which opens no window-system connection, so only what the system tells without
// one (the kernel's mode lists) is asked.
enum class WindowSystem { Other, Wayland, Unconnected };  // Other: X11, offscreen, Windows, not yet known

// What only the toolkit can do or know, handed to the backend once the application exists. The
// functions are called on the user-interface thread; an empty one is not called.
struct DesktopServices {
    std::function<void()> beep;                                 // the desktop's beep
    std::function<std::optional<DisplayMode>()> currentScreen;  // the screen shown on; nullopt: unknown
    WindowSystem windowSystem = WindowSystem::Other;
    // To call when the user changed the regional settings, where the system does not tell the
    // toolkit itself; the receiver resets the thread locale and reads the separators again.
    std::function<void()> settingsChanged;
};

// Failure comes back one way per kind of call: a query that can fail answers std::optional (nullopt:
// it failed), an action answers bool (false: it failed), and the registry calls answer the Windows
// status code (kRegSuccess or the RegStatus of the failure) with their results in out-parameters,
// as the registry wrapper and the pages expect. Queries that change nothing are const.
class Platform {
public:
    virtual ~Platform() = default;

    // --- desktop ---
    // Hands the backend the toolkit's services; the simulated machine and Windows (which sounds
    // its own beep) need none of them.
    // NOLINTNEXTLINE(performance-unnecessary-value-param): a sink; the backends that keep it move from it.
    virtual void connectDesktop(DesktopServices) {}

    // --- version ---
    // The version query; nullopt when it fails.
    virtual std::optional<OsVersion> getVersion() const = 0;

    // --- computer name ---
    // Characters of the buffer the longest computer name this system allows needs, its terminating
    // zero included (16 on Windows, 65 for a Linux host name); it cannot fail.
    virtual std::uint32_t computerNameBufferChars() const = 0;
    // The computer name (code-page bytes) if it fits a buffer of `bufferChars` characters including
    // the terminating zero; nullopt on failure or when it does not fit.
    virtual std::optional<std::string> getComputerName(std::uint32_t bufferChars) const = 0;
    // Hands a new computer name (code-page bytes) to the system; false when refused.
    virtual bool setComputerName(const std::string& name) = 0;

    // --- registry (Windows semantics: status codes of RegStatus, results in out-parameters) ---
    // Opens `subKey` below `parent` into `*result`; `subKey` may be empty (opens `parent` again).
    virtual long regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) = 0;
    // Opens `subKey` into `*result`, creating every missing key on the way, with all access.
    virtual long regCreateKey(HKey parent, const std::string& subKey, HKey* result) = 0;
    // Queries a value (`*size` in bytes). With `data` null only `*type` and `*size` are filled. When
    // the buffer is too small: kRegMoreData with `*size` set to the size needed. `type` may be null;
    // `size` only together with `data`.
    virtual long regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) const = 0;
    // Writes a value of `size` bytes; kRegAccessDenied on a key opened for reading.
    virtual long regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) = 0;
    // Name of the value at `index` in enumeration order; kRegNoMoreItems past the last.
    virtual long regEnumValue(HKey key, std::uint32_t index, std::string* name) const = 0;
    // Deletes `subKey` below `parent`, which must have no subkeys.
    virtual long regDeleteKey(HKey parent, const std::string& subKey) = 0;
    // Closes a key opened by regOpenKey or regCreateKey; kRegInvalidHandle for any other.
    virtual long regCloseKey(HKey key) = 0;

    // --- memory ---
    // The memory status in bytes and per cent; all zero where the system cannot be read.
    virtual MemoryStatus globalMemoryStatus() const = 0;

    // --- drives ---
    // Bit mask of existing drive letters, bit 0 = A:; 0 when there is none.
    virtual std::uint32_t getLogicalDrives() const = 0;
    // Drive type of a root path such as "c:\"; kDriveNoRootDir for a letter that does not exist.
    virtual std::uint32_t getDriveType(const std::string& root) const = 0;
    // Whether the 64-bit free-space query exists on this system.
    virtual bool hasDiskFreeSpaceEx() const = 0;
    // Size and free space in bytes of the drive whose root is `root`; the current drive when
    // `root` is empty. nullopt when the drive cannot be read.
    virtual std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const = 0;
    // The same in sectors and clusters (counts capped at 32 bits); nullopt when it cannot be read.
    virtual std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const = 0;
    // Volume label, serial and file-system name of a root path; nullopt when it cannot be read.
    virtual std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const = 0;
    // Sets the critical-error mode and returns the previous one; it cannot fail.
    virtual std::uint32_t setErrorMode(std::uint32_t mode) = 0;
    // Remote name connected to a local device such as "Z:"; nullopt when it is not a network
    // drive or the connection cannot be named.
    virtual std::optional<std::string> wnetGetConnection(const std::string& localName) const = 0;
    // The process's current directory, e.g. "C:\WORK" or "\\server\share\dir"; nullopt when it
    // cannot be read, which the drive selector reads as "no current drive".
    virtual std::optional<std::string> getCurrentDirectory() const = 0;

    // --- display ---
    // Display mode `index` of the primary display; nullopt past the last mode.
    virtual std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const = 0;
    // The primary display's current mode; nullopt where the system cannot name it.
    virtual std::optional<DisplayMode> currentDisplayMode() const { return std::nullopt; }

    // --- time and sound ---
    // Milliseconds since system start, wrapping at 32 bits; it cannot fail. Not const: on the
    // simulated machine each call moves its clock on.
    virtual std::uint32_t getTickCount() = 0;
    // The processor's cycle count since some fixed point; it cannot fail.
    virtual std::uint64_t readCycleCounter() const = 0;
    // Sounds the system's beep of `type`; nothing happens where there is none.
    virtual void messageBeep(std::uint32_t type) = 0;

    // --- locale ---
    // The locale item of the thread locale if it fits `bufferChars` characters including the
    // terminating zero; nullopt otherwise. An empty setting gives an empty string.
    virtual std::optional<std::string> getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const = 0;
    // Resets the thread locale to the user's default as it stands now; it cannot fail.
    virtual void resetThreadLocale() = 0;

    // --- program files ---
    // Full path of the program file; nullopt when it cannot be read.
    virtual std::optional<std::string> programPath() const = 0;
    // The system's path separator ("\" on Windows and the simulated machine, "/" on Linux).
    virtual char pathSeparator() const = 0;
    // Creates a directory; false when it fails (it exists already, for example).
    virtual bool createDirectory(const std::string& path) = 0;
    // Makes the program's TempData folder where this system keeps it; false when it is not made
    // (it exists already, or there is no place for it). Beside the program file, the Windows habit,
    // unless the backend keeps it elsewhere.
    virtual bool createTempData();

    // --- BIOS ROM ---
    // Zero-terminated string at a physical address of the first megabyte; nullopt where the ROM
    // is not mapped into this process.
    virtual std::optional<std::string> readRomString(std::uint32_t address) const = 0;

    // --- code page ---
    // Code-page bytes as UTF-8; it cannot fail: what cannot be converted becomes a replacement.
    virtual std::string toUtf8(const std::string& bytes) const = 0;
    // UTF-8 as code-page bytes; it cannot fail: a character the code page lacks becomes a replacement.
    virtual std::string fromUtf8(const std::string& utf8) const = 0;
    // Whether `byte` starts a double-byte character in the code page (never on UTF-8).
    virtual bool isLeadByte(std::uint8_t byte) const = 0;
    // Whether the code page has double-byte characters at all.
    virtual bool hasLeadBytes() const = 0;
};

// The backend this build runs on: Linux or Windows, chosen at build time.
std::unique_ptr<Platform> createSystemPlatform();

}  // namespace zelvo::platform
