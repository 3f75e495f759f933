#pragma once
// A Windows machine held in memory. Tests edit its public fields directly and run the pages
// against it through SimPlatform. Texts are UTF-8 here; SimPlatform converts them to CP932 at the
// platform interface. The registry holds CP932 bytes, as a Japanese Windows registry read with
// the ANSI calls does; the reg* helpers below build values from UTF-8.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/RegistryTree.h"

namespace zelvo::platform {

struct SimDrive {
    std::uint32_t type = kDriveFixed;  // a DriveType value
    bool mediumPresent = true;         // without a medium the volume and size queries fail
    std::string label;                 // UTF-8
    std::uint32_t serial = 0;
    std::string fileSystem;  // "NTFS", "FAT32", "CDFS", ...
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0;  // available to the user
    std::string remoteName;      // UTF-8, e.g. "\\SRV\DATA"; empty = not connected
    // The geometry the cluster query reports.
    std::uint32_t bytesPerSector = 512;
    std::uint32_t sectorsPerCluster = 8;
};

// The default clock. Each tick-count read advances the simulated time by `stepMs`; the cycle
// counter runs at `cyclesPerSecond` against that time. The program's 4-second measurement starts
// at a tick boundary but counts its deadline from the reading before it, so it reports
// cyclesPerSecond × (4000 − stepMs) / 4000; `rateMeasuredAs` gives the rate for a wanted result.
struct SimClock {
    std::uint64_t nowMs = 3'600'000;  // an hour after start
    std::uint32_t stepMs = 1;
    double cyclesPerSecond = 0;

    static double rateMeasuredAs(double measuredHz, std::uint32_t stepMs = 1);
};

// The computer-name rule of the default acceptComputerName: 1 to 15 CP932 bytes, no control
// characters, no spaces and none of \ / : * ? " < > | , ; = + [ ] (Japanese letters are allowed,
// as on Japanese Windows).
bool defaultComputerNameRule(const std::string& utf8);

struct SimMachine {
    SimMachine();

    // Version query; nullopt = the query fails. platformId 1 = 9x, 2 = NT, other = neither.
    std::optional<OsVersion> version;

    RegistryTree registry;

    // Drives A: to Z:, by index 0 to 25; an empty slot is a letter that does not exist.
    std::array<std::optional<SimDrive>, 26> drives;
    bool hasDiskFreeSpaceEx = true;
    std::uint32_t errorMode = 0;
    // Volume and size queries of a drive without a medium made while the error mode lacks
    // "fail critical errors" (1): Windows would have put a dialog in front of the user.
    int criticalErrorPrompts = 0;

    MemoryStatus memory;
    std::vector<DisplayMode> displayModes;

    // nullopt = the name cannot be read.
    std::optional<std::string> computerName;
    // Decides on a new computer name (UTF-8). An accepted name is kept in pendingComputerName
    // for the next start; computerName does not change.
    std::function<bool(const std::string&)> acceptComputerName = defaultComputerNameRule;
    std::optional<std::string> pendingComputerName;

    // The user's number separators (UTF-8); nullopt = the setting cannot be read. A setting
    // longer than the caller's buffer fails the query; an empty one succeeds with empty text.
    std::optional<std::string> thousandSeparator;
    std::optional<std::string> decimalSeparator;
    int threadLocaleResets = 0;

    // Overrides of the default clock: when set, they answer the tick-count and cycle-counter
    // reads instead of `clock`.
    SimClock clock;
    std::function<std::uint32_t()> tickCount;
    std::function<std::uint64_t()> cycleCounter;
    std::vector<std::uint32_t> beeps;  // MessageBeep types, in order

    // BIOS ROM strings by physical address (UTF-8/ASCII); readable only when romMapped (9x).
    // Reading inside a string gives the rest of it; reading elsewhere gives empty text.
    bool romMapped = false;
    std::map<std::uint32_t, std::string> romStrings;

    std::string currentDirectory;  // e.g. "C:\WORK"; empty: it cannot be read
    std::string programPath;       // e.g. "C:\Program Files\Zelvo\zelvo.exe"; empty: it cannot be read
    // Directories that exist (UTF-8, compared ignoring ASCII case). Drive roots exist when the
    // drive has a medium. createDirectory adds to this set and never touches a real disk.
    std::set<std::string> directories;

    // The drive of letter 'A'..'Z' (either case); null when it does not exist.
    SimDrive* drive(char letter);
    const SimDrive* drive(char letter) const;
    void setDrive(char letter, SimDrive drive);
};

// Registry values from UTF-8 texts (stored as CP932 with their terminating zeros).
RegValue regSz(std::string_view utf8);
RegValue regExpandSz(std::string_view utf8);
RegValue regMultiSz(const std::vector<std::string>& utf8Pieces);
RegValue regDword(std::uint32_t value);
RegValue regBinary(std::string_view bytes, std::uint32_t type = kRegBinary);

// The two machine families, built from the profiles resources/sim/win98.json and winnt.json
// (embedded in the program; see SimProfile.h for their format).
SimMachine makeWin9xMachine();
SimMachine makeNtMachine();

}  // namespace zelvo::platform
