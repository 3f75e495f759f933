#pragma once
// Every page's facts as plain values, gathered once: byte counts, hertz, texts, and for each fact
// that could not be read a failure with its reason. The reports write these out; the figure texts
// beside the numbers are the ones the pages show.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/DisplaySettings.h"
#include "probes/DriveRows.h"
#include "probes/UsageFigures.h"

namespace zelvo::platform {
class Platform;
}

namespace zelvo {

// Why a fact is not there. `withheld` marks a fact left out on request (--redact), not a failure.
struct Failure {
    std::string reason;
    bool withheld = false;
};

template <typename T>
using Fact = std::variant<T, Failure>;

// Bytes as counted, and the page's figure texts for them (the sizes, "57 %").
struct SizeFacts {
    std::uint64_t totalBytes = 0;
    std::uint64_t usedBytes = 0;
    std::uint64_t freeBytes = 0;
    Fact<UsageFigures> figures;  // fails where the page cannot compute them (a total of 0 bytes)
};

struct DriveFacts {
    DriveRow row;
    Fact<std::string> label;       // UTF-8, as the volume holds it
    Fact<std::string> fileSystem;  // UTF-8
    Fact<std::uint32_t> serial;
    Fact<std::string> serialText;  // eight hexadecimal digits, as the page shows it
    Fact<SizeFacts> size;
    std::optional<Fact<std::string>> networkName;  // network drives only
};

struct ClockFacts {
    double hertz = 0;
    std::string text;  // "2.4 GHz"
};

struct CpuFacts {
    Fact<std::string> name;
    Fact<std::string> vendor;
    std::optional<Fact<std::int32_t>> load;  // only on a family that publishes it (9x)
    Fact<ClockFacts> clock;
};

struct DisplayModeFacts {
    platform::DisplayMode mode;
    std::int32_t colours = 0;
};

struct DisplayFacts {
    Fact<std::vector<DisplayModeFacts>> modes;
    std::vector<std::string> pageLines;  // the display page's lines, UTF-8
    Fact<platform::DisplayMode> current;
};

struct BiosFacts {
    std::string heading;                // UTF-8
    std::vector<std::string> lines;     // UTF-8, the non-empty lines in order
    std::vector<std::string> memoText;  // the page's lines as it shows them, empty ones included
};

struct UserFacts {
    Fact<std::string> owner;
    Fact<std::string> organization;
    Fact<std::string> computerName;
};

struct MachineFacts {
    Fact<std::uint32_t> platformFamily;  // 1: 9x, 2: NT, other: neither
    std::vector<DriveFacts> drives;
    Fact<SizeFacts> memory;
    CpuFacts cpu;
    Fact<BiosFacts> bios;
    DisplayFacts display;
    UserFacts user;
};

struct FactOptions {
    bool measureClock = false;  // the 4-second measurement
    bool redact = false;        // leave out owner, organization, computer name, serials, network names
    LocaleCase localeCase;      // for the drive labels
    // Whether the 9x family's statistics are to be started for the reading and stopped after it;
    // false where they run already (in the window, which stops them only when it closes).
    bool startStatistics = true;
};

MachineFacts GatherFacts(platform::Platform& platform, const FactOptions& options);

}  // namespace zelvo
