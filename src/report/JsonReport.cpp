#include "report/JsonReport.h"

#include <cstdint>
#include <type_traits>

#include "platform/SystemIdentity.h"
#include "probes/DisplayInfo.h"
#include "report/JsonString.h"

namespace zelvo {

namespace {

// Writes an indented document, member by member; strings go through JsonString.
class JsonWriter {
public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(const char* name) {
        separate();
        out_ += JsonString(name) + ": ";
        afterKey_ = true;
    }
    void string(const std::string& text) { value(JsonString(text)); }
    void number(std::uint64_t n) { value(std::to_string(n)); }
    void number(std::int64_t n) { value(std::to_string(n)); }
    void number(int n) { value(std::to_string(n)); }
    void number(std::uint32_t n) { value(std::to_string(n)); }

    std::string text() const { return out_ + '\n'; }

private:
    void separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_)
            out_ += ',';
        if (depth_ > 0)
            out_ += '\n' + std::string(std::size_t(depth_) * 2, ' ');
        first_ = false;
    }
    void value(const std::string& literal) {
        separate();
        out_ += literal;
    }
    void open(char bracket) {
        separate();
        out_ += bracket;
        ++depth_;
        first_ = true;
    }
    void close(char bracket) {
        --depth_;
        if (!first_)
            out_ += '\n' + std::string(std::size_t(depth_) * 2, ' ');
        out_ += bracket;
        first_ = false;
    }

    std::string out_;
    int depth_ = 0;
    bool first_ = true;
    bool afterKey_ = false;
};

void WriteFailure(JsonWriter& w, const Failure& failure) {
    w.beginObject();
    w.key(failure.withheld ? "withheld" : "failure");
    w.string(failure.reason);
    w.endObject();
}

// Writes the fact's value with `write`, or its failure object.
template <typename T, typename Write>
void WriteFact(JsonWriter& w, const Fact<T>& fact, Write write) {
    if (const auto* failure = std::get_if<Failure>(&fact))
        WriteFailure(w, *failure);
    else
        write(std::get<T>(fact));
}

void WriteText(JsonWriter& w, const Fact<std::string>& fact) {
    WriteFact(w, fact, [&](const std::string& text) { w.string(text); });
}

void WriteSize(JsonWriter& w, const SizeFacts& size) {
    w.beginObject();
    w.key("totalBytes");
    w.number(size.totalBytes);
    w.key("usedBytes");
    w.number(size.usedBytes);
    w.key("freeBytes");
    w.number(size.freeBytes);
    w.key("figures");
    WriteFact(w, size.figures, [&](const UsageFigures& figures) {
        w.beginObject();
        w.key("total");
        w.string(figures.totalText);
        w.key("used");
        w.string(figures.usedText);
        w.key("free");
        w.string(figures.freeText);
        w.key("usedPercent");
        w.number(figures.percentage);
        w.key("usedPercentText");
        w.string(figures.percentageText);
        w.endObject();
    });
    w.endObject();
}

const char* KindName(DriveKind kind) {
    switch (kind) {
        case DriveKind::Removable:
            return "removable";
        case DriveKind::Fixed:
            return "fixed";
        case DriveKind::Network:
            return "network";
        case DriveKind::Cdrom:
            return "cdrom";
        case DriveKind::Ram:
            return "ram";
    }
    return "fixed";
}

void WriteDrive(JsonWriter& w, const DriveFacts& drive) {
    w.beginObject();
    w.key("letter");
    w.string(std::string(1, drive.row.letter));
    w.key("kind");
    w.string(KindName(drive.row.kind));
    w.key("row");
    w.string(drive.row.textUtf8);
    w.key("label");
    WriteText(w, drive.label);
    w.key("fileSystem");
    WriteText(w, drive.fileSystem);
    w.key("serial");
    WriteFact(w, drive.serial, [&](std::uint32_t serial) {
        w.beginObject();
        w.key("value");
        w.number(serial);
        w.key("text");
        w.string(std::get<std::string>(drive.serialText));
        w.endObject();
    });
    w.key("size");
    WriteFact(w, drive.size, [&](const SizeFacts& size) { WriteSize(w, size); });
    if (drive.networkName) {
        w.key("networkName");
        WriteText(w, *drive.networkName);
    }
    w.endObject();
}

void WriteMode(JsonWriter& w, const platform::DisplayMode& mode, std::int32_t colours) {
    w.key("width");
    w.number(mode.width);
    w.key("height");
    w.number(mode.height);
    w.key("bitsPerPixel");
    w.number(mode.bitsPerPixel);
    w.key("colours");
    w.number(colours);
    w.key("refreshHertz");
    if (mode.frequency > 0)
        w.number(mode.frequency);
    else
        WriteFailure(w, Failure{"the system does not name the refresh rate"});
}

const char* FamilyName(std::uint32_t family) {
    if (family == platform::kPlatformWin9x)
        return "9x";
    if (family == platform::kPlatformNT)
        return "nt";
    return "other";
}

}  // namespace

std::string JsonReport(const MachineFacts& facts, const ReportStamp& stamp) {
    JsonWriter w;
    w.beginObject();
    w.key("format");
    w.string(kFactsFormatName);
    w.key("formatVersion");
    w.number(kFactsFormatVersion);
    w.key("zelvoVersion");
    w.string(stamp.zelvoVersion);
    w.key("taken");
    w.string(stamp.taken);

    w.key("platform");
    WriteFact(w, facts.platformFamily, [&](std::uint32_t family) {
        w.beginObject();
        w.key("family");
        w.number(family);
        w.key("familyName");
        w.string(FamilyName(family));
        w.endObject();
    });

    w.key("drives");
    w.beginArray();
    for (const DriveFacts& drive : facts.drives)
        WriteDrive(w, drive);
    w.endArray();

    w.key("memory");
    WriteFact(w, facts.memory, [&](const SizeFacts& size) { WriteSize(w, size); });

    w.key("cpu");
    w.beginObject();
    w.key("name");
    WriteText(w, facts.cpu.name);
    w.key("vendor");
    WriteText(w, facts.cpu.vendor);
    if (facts.cpu.load) {
        w.key("load");
        WriteFact(w, *facts.cpu.load, [&](std::int32_t load) {
            w.beginObject();
            w.key("percent");
            w.number(std::int64_t(load));
            w.key("text");
            w.string(std::to_string(load) + " %");
            w.endObject();
        });
    }
    w.key("clock");
    WriteFact(w, facts.cpu.clock, [&](const ClockFacts& clock) {
        w.beginObject();
        w.key("hertz");
        w.number(std::uint64_t(clock.hertz < 0 ? 0 : clock.hertz));
        w.key("text");
        w.string(clock.text);
        w.endObject();
    });
    w.endObject();

    w.key("bios");
    WriteFact(w, facts.bios, [&](const BiosFacts& bios) {
        w.beginObject();
        w.key("heading");
        w.string(bios.heading);
        w.key("lines");
        w.beginArray();
        for (const std::string& line : bios.lines)
            w.string(line);
        w.endArray();
        w.endObject();
    });

    w.key("display");
    w.beginObject();
    w.key("modes");
    WriteFact(w, facts.display.modes, [&](const std::vector<DisplayModeFacts>& modes) {
        w.beginArray();
        for (std::size_t i = 0; i < modes.size(); ++i) {
            w.beginObject();
            w.key("number");
            w.number(std::uint64_t(i));
            WriteMode(w, modes[i].mode, modes[i].colours);
            w.endObject();
        }
        w.endArray();
    });
    w.key("current");
    WriteFact(w, facts.display.current, [&](const platform::DisplayMode& mode) {
        w.beginObject();
        WriteMode(w, mode, DisplayColourCount(mode.bitsPerPixel));
        w.endObject();
    });
    w.endObject();

    w.key("user");
    w.beginObject();
    w.key("owner");
    WriteText(w, facts.user.owner);
    w.key("organization");
    WriteText(w, facts.user.organization);
    w.key("computerName");
    WriteText(w, facts.user.computerName);
    w.endObject();

    w.endObject();
    return w.text();
}

}  // namespace zelvo
