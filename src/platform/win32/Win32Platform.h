#pragma once
// The real Windows calls behind the platform interface, made with the ANSI ("A") functions so
// that texts and byte counts are in the system's ANSI code page, as the program expects. Works
// on both families: calls the 9x family lacks are looked up at run time.

#include "platform/Platform.h"

namespace zelvo::platform {

// The calls that not every system has. Leaving one out makes the backend behave as on a system
// without it (Windows 95 before OSR2 has neither), so tests can take those paths on any system.
struct Win32OptionalCalls {
    bool globalMemoryStatusEx = true;
    bool getDiskFreeSpaceEx = true;
};

// Each capability is the Windows calls themselves.
class Win32Platform final : public Platform,
                            SystemIdentity,
                            Registry,
                            Memory,
                            Drives,
                            DisplaySettings,
                            Clock,
                            TextLocale,
                            ProgramFiles,
                            Desktop {
public:
    explicit Win32Platform(Win32OptionalCalls calls = {});

    SystemIdentity& identity() override { return *this; }
    Registry& registry() override { return *this; }
    Memory& memory() override { return *this; }
    Drives& drives() override { return *this; }
    DisplaySettings& display() override { return *this; }
    Clock& clock() override { return *this; }
    TextLocale& text() override { return *this; }
    ProgramFiles& files() override { return *this; }
    Desktop& desktop() override { return *this; }

private:
    std::optional<OsVersion> getVersion() const override;

    std::uint32_t computerNameBufferChars() const override;
    std::optional<CodePageText> getComputerName(std::uint32_t bufferChars) const override;
    bool setComputerName(const CodePageText& name) override;

    // HKEY_DYN_DATA exists on the 9x family only; on the NT family every call on it answers
    // kRegInvalidHandle, as NT does (Wine keeps such a root in every mode; it is not used there).
    long regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) override;
    long regCreateKey(HKey parent, const std::string& subKey, HKey* result) override;
    long regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) const override;
    long regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override;
    long regEnumValue(HKey key, std::uint32_t index, std::string* name) const override;
    long regDeleteKey(HKey parent, const std::string& subKey) override;
    long regCloseKey(HKey key) override;

    // GlobalMemoryStatusEx where the system has it (not the 9x family), GlobalMemoryStatus else.
    MemoryStatus globalMemoryStatus() const override;
    // The 9x family maps the BIOS ROM into every process. The string is read only where the
    // address lies in committed, readable memory, and only up to the end of the first megabyte,
    // so a process that cannot see the ROM gets nullopt rather than a fault. On the NT family
    // nothing at those addresses is the ROM: nullopt.
    std::optional<CodePageText> readRomString(std::uint32_t address) const override;

    std::uint32_t getLogicalDrives() const override;
    std::uint32_t getDriveType(const std::string& root) const override;
    // Whether kernel32 exports GetDiskFreeSpaceExA (Windows 95 before OSR2 does not).
    bool hasDiskFreeSpaceEx() const override;
    std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const override;
    std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const override;
    std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const override;
    std::uint32_t setErrorMode(std::uint32_t mode) override;
    std::optional<CodePageText> wnetGetConnection(const std::string& localName) const override;
    std::optional<CodePageText> getCurrentDirectory() const override;

    std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const override;
    std::optional<DisplayMode> currentDisplayMode() const override;

    std::uint32_t getTickCount() override;
    std::uint64_t readCycleCounter() const override;
    void messageBeep(std::uint32_t type) override;

    std::optional<CodePageText> getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const override;
    void resetThreadLocale() override;

    std::optional<CodePageText> programPath() const override;
    char pathSeparator() const override;
    bool createDirectory(const CodePageText& path) override;

    std::string toUtf8(const CodePageText& text) const override;
    CodePageText fromUtf8(std::string_view utf8) const override;
    bool isLeadByte(std::uint8_t byte) const override;
    bool hasLeadBytes() const override;

    Win32OptionalCalls calls_;
    bool win9x_ = false;
};

}  // namespace zelvo::platform
