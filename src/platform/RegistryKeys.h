#pragma once
// Where the registry keeps the facts the pages read, and what their values are called: the probes
// read them here and a backend that builds its own registry (Linux) fills them here, so the two
// cannot drift apart. Keys are below HKEY_LOCAL_MACHINE, written without a leading or trailing
// backslash; the registry compares them ignoring case, so the mixed-case spelling the 9x family
// uses finds the same key.

#include <string>
#include <string_view>

namespace zelvo::platform::regkeys {

// Registered owner and organization.
inline constexpr std::string_view kVersion9x = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr std::string_view kVersionNT = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr std::string_view kRegisteredOwner = "RegisteredOwner";
inline constexpr std::string_view kRegisteredOrganization = "RegisteredOrganization";

// The first processor's name and vendor.
inline constexpr std::string_view kProcessor9x = "Hardware\\Description\\System\\CentralProcessor\\0";
inline constexpr std::string_view kProcessorNT = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
inline constexpr std::string_view kProcessorName9x = "Identifier";
inline constexpr std::string_view kProcessorNameNT = "ProcessorNameString";
inline constexpr std::string_view kVendorIdentifier = "VendorIdentifier";

// The BIOS identification the system copies into the registry.
inline constexpr std::string_view kSystem = "HARDWARE\\DESCRIPTION\\System";
inline constexpr std::string_view kSystemBiosVersion = "SystemBIOSVersion";
inline constexpr std::string_view kSystemBiosDate = "SystemBIOSDate";

// One entry of the system-devices driver class.
inline constexpr std::string_view kSystemDevicesDriver =
    "SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014";
inline constexpr std::string_view kDriverDesc = "DriverDesc";
inline constexpr std::string_view kDriverVersion = "DriverVersion";

// A key as a relative path ending with a backslash, the form the registration and processor
// locations keep.
inline std::string withTrailingBackslash(std::string_view key) {
    return std::string(key) + '\\';
}

// A key as a path from the root key (a leading backslash), the form the BIOS page opens.
inline std::string fromRoot(std::string_view key) {
    return '\\' + std::string(key);
}

}  // namespace zelvo::platform::regkeys
