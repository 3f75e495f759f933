#pragma once
// Simulated machines described in JSON. The two family profiles (resources/sim/win98.json and
// winnt.json) are embedded in the program and are the only description of those machines.
//
// Format: one object; every member is optional and an absent member leaves the field of a
// default SimMachine (an empty machine on which every query fails). Unknown members are errors.
//   "description": free text
//   "version": {"platformId", "major", "minor", "build"} or null (the query fails)
//   "computerName": text or null        "hasDiskFreeSpaceEx": bool
//   "locale": {"thousandSeparator", "decimalSeparator"}: text or null each
//   "memory": {"memoryLoad", "totalPhys", "availPhys", "totalPageFile", "availPageFile",
//              "totalVirtual", "availVirtual"}
//   "drives": {"C": {"type": "removable"|"fixed"|"remote"|"cdrom"|"ramdisk"|"unknown"|"noroot"
//              or a number, "medium", "label", "serial", "fileSystem", "totalBytes",
//              "freeBytes", "remoteName", "bytesPerSector", "sectorsPerCluster"}, ...}
//   "displayModes": [{"width", "height", "bitsPerPixel", "frequency"}, ...]
//   "clock": {"nowMs", "stepMs", "cyclesPerSecond"}
//   "rom": {"mapped": bool, "strings": {"0xFE061": text, ...}}
//   "currentDirectory", "programPath": text     "directories": [text, ...]
//   "registry": {"absentRoots": ["HKEY_DYN_DATA", ...],
//                "keys": [{"key": "HKEY_LOCAL_MACHINE\\path", "refuseAllAccess", "refuseOpen",
//                          "readOnly", "values": [{"name", "type", "data" | "hex"}, ...]}, ...]}
// Integers may be JSON numbers or strings ("0x1A2B3C4D" or decimal). Value types are names
// ("REG_SZ", "REG_BINARY", ...) or numbers. "data" is text for REG_SZ/REG_EXPAND_SZ, a list of
// texts for REG_MULTI_SZ, an integer for REG_DWORD/REG_QWORD and hex bytes ("0c 00 00 00") for
// the other types; "hex" gives the raw bytes of any type (for malformed values). Texts are
// UTF-8 and are stored in the registry as CP932; values keep the order they are listed in.

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/sim/SimMachine.h"

namespace zelvo::platform {

// A profile that cannot be read or understood; the message names the source and the member.
class SimProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a profile file.
SimMachine loadSimProfile(const std::string& path);
// Reads profile text; `sourceName` names it in error messages.
SimMachine parseSimProfile(std::string_view json, const std::string& sourceName);
// Reads one of the profiles embedded in the program, by file name ("win98.json").
SimMachine loadSimProfileResource(const std::string& fileName);

}  // namespace zelvo::platform
