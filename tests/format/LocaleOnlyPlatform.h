#pragma once
// A platform that answers only the locale query, with settings the test chooses, and records how
// it was asked. Every other call answers as a machine with nothing to report would.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace zelvo::test {

class LocaleOnlyPlatform : public platform::Platform {
public:
    struct Query {
        platform::LocaleItem item;
        std::uint32_t bufferChars;
    };

    // nullopt: the query fails. Otherwise the string the query returns.
    LocaleOnlyPlatform(std::optional<std::string> thousands, std::optional<std::string> decimal)
        : thousands_(std::move(thousands)), decimal_(std::move(decimal)) {}

    const std::vector<Query>& queries() const { return queries_; }

    std::optional<std::string> getLocaleInfo(platform::LocaleItem item, std::uint32_t bufferChars) const override {
        queries_.push_back({item, bufferChars});
        return item == platform::LocaleItem::ThousandSeparator ? thousands_ : decimal_;
    }
    void resetThreadLocale() override {}

    std::optional<platform::OsVersion> getVersion() const override { return std::nullopt; }
    std::uint32_t computerNameBufferChars() const override { return 16; }
    std::optional<std::string> getComputerName(std::uint32_t) const override { return std::nullopt; }
    bool setComputerName(const std::string&) override { return false; }
    long regOpenKey(platform::HKey, const std::string&, platform::RegAccess, platform::HKey*) override {
        return platform::kRegFileNotFound;
    }
    long regCreateKey(platform::HKey, const std::string&, platform::HKey*) override {
        return platform::kRegAccessDenied;
    }
    long regQueryValue(platform::HKey, const std::string&, std::uint32_t*, std::uint8_t*,
                       std::uint32_t*) const override {
        return platform::kRegFileNotFound;
    }
    long regSetValue(platform::HKey, const std::string&, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
        return platform::kRegAccessDenied;
    }
    long regEnumValue(platform::HKey, std::uint32_t, std::string*) const override { return platform::kRegNoMoreItems; }
    long regDeleteKey(platform::HKey, const std::string&) override { return platform::kRegAccessDenied; }
    long regCloseKey(platform::HKey) override { return platform::kRegInvalidHandle; }
    platform::MemoryStatus globalMemoryStatus() const override { return {}; }
    std::uint32_t getLogicalDrives() const override { return 0; }
    std::uint32_t getDriveType(const std::string&) const override { return platform::kDriveNoRootDir; }
    bool hasDiskFreeSpaceEx() const override { return false; }
    std::optional<platform::DiskSpace> getDiskFreeSpaceEx(const std::string&) const override { return std::nullopt; }
    std::optional<platform::DiskClusters> getDiskFreeSpace(const std::string&) const override { return std::nullopt; }
    std::optional<platform::VolumeInformation> getVolumeInformation(const std::string&) const override {
        return std::nullopt;
    }
    std::uint32_t setErrorMode(std::uint32_t) override { return 0; }
    std::optional<std::string> wnetGetConnection(const std::string&) const override { return std::nullopt; }
    std::optional<std::string> getCurrentDirectory() const override { return std::nullopt; }
    std::optional<platform::DisplayMode> enumDisplaySettings(std::uint32_t) const override { return std::nullopt; }
    std::uint32_t getTickCount() override { return 0; }
    std::uint64_t readCycleCounter() const override { return 0; }
    void messageBeep(std::uint32_t) override {}
    std::optional<std::string> programPath() const override { return std::nullopt; }
    char pathSeparator() const override { return '/'; }
    bool createDirectory(const std::string&) override { return false; }
    std::optional<std::string> readRomString(std::uint32_t) const override { return std::nullopt; }
    std::string toUtf8(const std::string& bytes) const override { return bytes; }
    std::string fromUtf8(const std::string& utf8) const override { return utf8; }
    bool isLeadByte(std::uint8_t) const override { return false; }
    bool hasLeadBytes() const override { return false; }

private:
    std::optional<std::string> thousands_;
    std::optional<std::string> decimal_;
    mutable std::vector<Query> queries_;  // the const query records itself too
};

}  // namespace zelvo::test
