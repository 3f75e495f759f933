#include "report/MachineFacts.h"

#include <exception>

#include "format/IntegerText.h"
#include "platform/ErrorModeScope.h"
#include "platform/Platform.h"
#include "probes/BiosInfo.h"
#include "probes/ClockMeasurement.h"
#include "probes/DiskFigures.h"
#include "probes/DisplayInfo.h"
#include "probes/LoadMonitor.h"
#include "probes/ProcessorIdentity.h"
#include "probes/Registration.h"
#include "probes/RegistryLocations.h"

namespace zelvo {

namespace {

const Failure kWithheld{"withheld (--redact)", true};

// A registry text that is missing reads as empty text; the reports say so instead of writing "".
Fact<std::string> NonEmpty(std::string text, const char* reason) {
    if (text.empty())
        return Failure{reason};
    return text;
}

// The page's figures, or the page's own error when it cannot compute them.
template <typename Compute>
Fact<UsageFigures> FiguresOf(Compute compute) {
    try {
        return compute();
    } catch (const std::exception& error) {
        return Failure{std::string("the figures cannot be computed: ") + error.what()};
    }
}

DriveFacts GatherDrive(platform::Drives& drives, const platform::TextLocale& text, const DriveRow& row, bool redact) {
    DriveFacts drive{row, Failure{}, Failure{}, Failure{}, Failure{}, Failure{}, std::nullopt};
    const char letter = row.letter;
    {
        const platform::ErrorModeScope errorMode(drives, platform::kSemFailCriticalErrors);
        if (const auto volume = drives.getVolumeInformation(std::string{letter, ':', '\\'})) {
            const std::string& label = volume->label.bytes();
            drive.label = text.toUtf8(platform::CodePageText(label.substr(0, label.find('\0'))));
            drive.fileSystem = text.toUtf8(volume->fileSystem);
            drive.serial = volume->serial;
            drive.serialText = HexText(volume->serial, 8);
        } else {
            const Failure failure{"the volume cannot be read (no medium, or the drive does not answer)"};
            drive.label = drive.fileSystem = failure;
            drive.serial = failure;
            drive.serialText = failure;
        }
    }
    const int number = DriveNumberFromLetter(char(letter | 0x20), 0);
    const DriveBytes bytes = QueryDriveBytes(drives, number);
    if (bytes.size < 0 || bytes.free < 0) {
        drive.size = Failure{"the drive's size cannot be read (no medium, or the drive does not answer)"};
    } else {
        SizeFacts size;
        size.totalBytes = std::uint64_t(bytes.size);
        size.freeBytes = std::uint64_t(bytes.free);
        size.usedBytes = bytes.size >= bytes.free ? std::uint64_t(bytes.size - bytes.free) : 0;
        size.figures = FiguresOf([&] { return ComputeDiskFigures(bytes); });
        drive.size = size;
    }
    if (row.kind == DriveKind::Network) {
        if (row.networkName)
            drive.networkName = *row.networkName;
        else
            drive.networkName = Failure{"the network connection cannot be named"};
    }
    if (redact) {
        drive.serial = kWithheld;
        drive.serialText = kWithheld;
        if (drive.networkName) {
            drive.networkName = kWithheld;
            // The row names the share too.
            drive.row.textUtf8 = std::string{letter, ':'};
            drive.row.text = platform::CodePageText(drive.row.textUtf8);
            drive.row.networkName.reset();
        }
    }
    return drive;
}

Fact<SizeFacts> GatherMemory(const platform::Memory& machineMemory) {
    const platform::MemoryStatus status = machineMemory.globalMemoryStatus();
    // The query answers all zero where the system cannot be read.
    if (status.totalPhys == 0)
        return Failure{"the memory status cannot be read"};
    SizeFacts memory;
    memory.totalBytes = status.totalPhys;
    memory.freeBytes = status.availPhys;
    memory.usedBytes = status.totalPhys >= status.availPhys ? status.totalPhys - status.availPhys : 0;
    memory.figures = FiguresOf([&] { return ComputeMemoryFigures(status); });
    return memory;
}

CpuFacts GatherCpu(platform::Platform& platform, const RegistryLocations& locations, std::uint32_t family,
                   const FactOptions& options) {
    CpuFacts cpu{Failure{}, Failure{}, std::nullopt,
                 Failure{"not measured: the measurement takes 4 s (--measure-clock)"}};
    const ProcessorIdentity identity = ReadProcessorIdentity(platform.registry(), platform.text(), locations);
    cpu.name = NonEmpty(identity.name, "the registry holds no processor name");
    cpu.vendor = NonEmpty(identity.vendor, "the registry holds no processor vendor");
    if (family == platform::kPlatformWin9x) {
        try {
            if (options.startStatistics)
                StartStatistics(platform.registry(), platform.text());
            const auto load = ReadCpuLoad(platform.registry(), platform.text());
            if (options.startStatistics)
                StopStatistics(platform.registry(), platform.text());
            if (load)
                cpu.load = *load;
            else
                cpu.load = Failure{"the system publishes no processor load"};
        } catch (const std::exception& error) {
            cpu.load = Failure{error.what()};
        }
    }
    if (options.measureClock) {
        const double hertz = MeasureClock(platform.clock());
        cpu.clock = ClockFacts{hertz, ClockFrequencyText(hertz).text};
    }
    return cpu;
}

Fact<BiosFacts> GatherBios(platform::Platform& platform) {
    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());
    if (!page.tabVisible)
        return Failure{"the version query failed"};
    BiosFacts bios;
    bios.heading = page.heading.value_or(std::string());
    // The memo's text: each addition and a line break; an addition may hold line breaks of its own.
    std::string text;
    for (const std::string& addition : page.memoAdditions)
        text += addition + "\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        bios.memoText.push_back(line);
        if (!line.empty())
            bios.lines.push_back(line);
        start = end + 2;
    }
    return bios;
}

DisplayFacts GatherDisplay(platform::DisplaySettings& settings) {
    DisplayFacts display{Failure{}, DisplayPageLines(settings), Failure{"the system names no current mode"}};
    std::vector<DisplayModeFacts> modes;
    for (std::uint32_t i = 0;; ++i) {
        const auto mode = settings.enumDisplaySettings(i);
        if (!mode)
            break;
        modes.push_back({*mode, DisplayColourCount(mode->bitsPerPixel)});
    }
    if (modes.empty())
        display.modes = Failure{"no display mode can be read here"};
    else
        display.modes = modes;
    if (const auto current = settings.currentDisplayMode())
        display.current = *current;
    return display;
}

}  // namespace

MachineFacts GatherFacts(platform::Platform& platform, const FactOptions& options) {
    MachineFacts facts{Failure{"the version query failed"}, {}, Failure{}, {}, Failure{}, {}, {}};
    std::uint32_t family = 0;
    platform::SystemIdentity& identity = platform.identity();
    platform::TextLocale& text = platform.text();
    if (const auto version = identity.getVersion()) {
        family = version->platformId;
        facts.platformFamily = family;
    }
    RegistryLocations locations;
    DetectPlatform(identity, locations);

    for (const DriveRow& row : ReadDriveRows(platform.drives(), text, false, options.localeCase))
        facts.drives.push_back(GatherDrive(platform.drives(), text, row, options.redact));
    facts.memory = GatherMemory(platform.memory());
    facts.cpu = GatherCpu(platform, locations, family, options);
    facts.bios = GatherBios(platform);
    facts.display = GatherDisplay(platform.display());

    const Registration registration = ReadRegistration(platform.registry(), text, locations);
    facts.user.owner = NonEmpty(registration.owner, "the registry holds no registered owner");
    facts.user.organization = NonEmpty(registration.organization, "the registry holds no registered organization");
    if (const auto name = identity.getComputerName(identity.computerNameBufferChars()))
        facts.user.computerName = text.toUtf8(*name);
    else
        facts.user.computerName = Failure{"the computer name cannot be read"};
    if (options.redact)
        facts.user.owner = facts.user.organization = facts.user.computerName = kWithheld;
    return facts;
}

}  // namespace zelvo
