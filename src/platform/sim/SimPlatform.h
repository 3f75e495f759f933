#pragma once
// The platform calls answered from a SimMachine, with the Windows meaning of each call and CP932
// as the code page.

#include <memory>

#include "platform/Platform.h"
#include "platform/RegistryTree.h"
#include "platform/sim/SimMachine.h"

namespace zelvo::platform {

// The simulated machine answers every capability but the registry itself; the registry is the
// machine's RegistryTree.
class SimPlatform : public Platform,
                    SystemIdentity,
                    Memory,
                    Drives,
                    DisplaySettings,
                    Clock,
                    TextLocale,
                    ProgramFiles,
                    Desktop {
public:
    // Answers from a machine the caller keeps alive and may edit between calls.
    explicit SimPlatform(SimMachine& machine);
    // Answers from a machine it owns, e.g. SimPlatform(makeNtMachine()).
    explicit SimPlatform(SimMachine&& machine);

    SimMachine& machine() { return *machine_; }
    const SimMachine& machine() const { return *machine_; }

    SystemIdentity& identity() override { return *this; }
    Registry& registry() override { return machine_->registry; }
    Memory& memory() override { return *this; }
    Drives& drives() override { return *this; }
    DisplaySettings& display() override { return *this; }
    Clock& clock() override { return *this; }
    TextLocale& text() override { return *this; }
    ProgramFiles& files() override { return *this; }
    Desktop& desktop() override { return *this; }

protected:
    // The Windows buffer: 15 characters and the terminating zero. A new name waits for the next
    // start, as on Windows.
    std::optional<OsVersion> getVersion() const override;
    std::uint32_t computerNameBufferChars() const override { return 16; }
    std::optional<CodePageText> getComputerName(std::uint32_t bufferChars) const override;
    bool setComputerName(const CodePageText& name) override;

    MemoryStatus globalMemoryStatus() const override;
    // The machine's ROM strings where its ROM is mapped.
    std::optional<CodePageText> readRomString(std::uint32_t address) const override;

    // Drives by letter, each with its medium, figures and, for a network drive, its share; a
    // drive without a medium fails its queries and counts the prompt Windows would have shown.
    std::uint32_t getLogicalDrives() const override;
    std::uint32_t getDriveType(const std::string& root) const override;
    bool hasDiskFreeSpaceEx() const override;
    std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const override;
    std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const override;
    std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const override;
    std::uint32_t setErrorMode(std::uint32_t mode) override;
    std::optional<CodePageText> wnetGetConnection(const std::string& localName) const override;
    std::optional<CodePageText> getCurrentDirectory() const override;

    std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const override;

    // The machine's clock moves on by its step at each tick query.
    std::uint32_t getTickCount() override;
    std::uint64_t readCycleCounter() const override;

    // CP932, with the machine's separator settings.
    std::optional<CodePageText> getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const override;
    void resetThreadLocale() override;
    std::string toUtf8(const CodePageText& text) const override;
    CodePageText fromUtf8(std::string_view utf8) const override;
    bool isLeadByte(std::uint8_t byte) const override;
    bool hasLeadBytes() const override;

    std::optional<CodePageText> programPath() const override;
    char pathSeparator() const override;
    bool createDirectory(const CodePageText& path) override;

    // Beeps are counted by type.
    void messageBeep(std::uint32_t type) override;

private:
    // The drive a path lies on: "X:..." by its letter, "\\server\share..." by a connected
    // network drive; the current directory's drive for an empty path.
    SimDrive* driveOfPath(const std::string& utf8Path) const;
    // The drive of an exact root "X:\"; null for anything else.
    SimDrive* driveOfRoot(const std::string& root) const;
    // A drive whose medium can be read; counts the prompt Windows would have shown otherwise.
    SimDrive* readableDrive(SimDrive* drive) const;

    std::unique_ptr<SimMachine> owned_;
    SimMachine* machine_;
};

}  // namespace zelvo::platform
