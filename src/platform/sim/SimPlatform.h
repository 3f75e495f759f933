#pragma once
// The platform calls answered from a SimMachine, with the Windows meaning of each call and CP932
// as the code page.

#include <memory>

#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"

namespace zelvo::platform {

class SimPlatform : public Platform {
public:
    // Answers from a machine the caller keeps alive and may edit between calls.
    explicit SimPlatform(SimMachine& machine);
    // Answers from a machine it owns, e.g. SimPlatform(makeNtMachine()).
    explicit SimPlatform(SimMachine&& machine);

    SimMachine& machine() { return *machine_; }
    const SimMachine& machine() const { return *machine_; }

    std::optional<OsVersion> getVersion() const override;

    // The Windows buffer: 15 characters and the terminating zero.
    std::uint32_t computerNameBufferChars() const override { return 16; }
    std::optional<std::string> getComputerName(std::uint32_t bufferChars) const override;
    bool setComputerName(const std::string& name) override;

    long regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) override;
    long regCreateKey(HKey parent, const std::string& subKey, HKey* result) override;
    long regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) const override;
    long regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override;
    long regEnumValue(HKey key, std::uint32_t index, std::string* name) const override;
    long regDeleteKey(HKey parent, const std::string& subKey) override;
    long regCloseKey(HKey key) override;

    MemoryStatus globalMemoryStatus() const override;

    std::uint32_t getLogicalDrives() const override;
    std::uint32_t getDriveType(const std::string& root) const override;
    bool hasDiskFreeSpaceEx() const override;
    std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const override;
    std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const override;
    std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const override;
    std::uint32_t setErrorMode(std::uint32_t mode) override;
    std::optional<std::string> wnetGetConnection(const std::string& localName) const override;
    std::optional<std::string> getCurrentDirectory() const override;

    std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const override;

    std::uint32_t getTickCount() override;
    std::uint64_t readCycleCounter() const override;
    void messageBeep(std::uint32_t type) override;

    std::optional<std::string> getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const override;
    void resetThreadLocale() override;

    std::optional<std::string> programPath() const override;
    char pathSeparator() const override;
    bool createDirectory(const std::string& path) override;

    std::optional<std::string> readRomString(std::uint32_t address) const override;

    std::string toUtf8(const std::string& bytes) const override;
    std::string fromUtf8(const std::string& utf8) const override;
    bool isLeadByte(std::uint8_t byte) const override;
    bool hasLeadBytes() const override;

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
