#include "probes/DriveRows.h"

#include "platform/ErrorModeScope.h"

namespace zelvo {

namespace {

// The system calls fill buffers of this many characters, the terminating zero included.
constexpr std::size_t kNameBufferChars = 261;

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}
char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}
// Labels follow the letter's case: a lower-case letter has a character code of 97 or more.
bool upperFor(char letter) {
    return static_cast<unsigned char>(letter) < 'a';
}

// What a system call writing into a name buffer hands back: the text up to its terminating zero,
// or nothing when it does not fit (the call fails then).
std::optional<std::string> asFromBuffer(const std::string& text) {
    std::string cut = text.substr(0, text.find('\0'));
    if (cut.size() >= kNameBufferChars)
        return std::nullopt;
    return cut;
}

std::string VolumeLabelText(platform::Drives& drives, const platform::TextLocale& codePage, char letter,
                            const LocaleCase& localeCase) {
    const platform::ErrorModeScope errorMode(drives, platform::kSemFailCriticalErrors);
    std::string label;
    if (const auto info = drives.getVolumeInformation(std::string{letter, ':', '\\'}))
        label = asFromBuffer(info->label).value_or(std::string());
    return '[' + FileNameCase(codePage, label, upperFor(letter), localeCase) + ']';
}

std::optional<std::string> NetworkName(const platform::Drives& drives, const platform::TextLocale& codePage,
                                       char letter, const LocaleCase& localeCase) {
    const auto remote = drives.wnetGetConnection(std::string{asciiUpper(letter), ':'});
    if (!remote)
        return std::nullopt;
    const auto name = asFromBuffer(*remote);
    if (!name)
        return std::nullopt;
    return FileNameCase(codePage, *name, upperFor(letter), localeCase);
}

std::optional<DriveKind> KindOfType(std::uint32_t type) {
    switch (type) {
        case platform::kDriveRemovable:
            return DriveKind::Removable;
        case platform::kDriveFixed:
            return DriveKind::Fixed;
        case platform::kDriveRemote:
            return DriveKind::Network;
        case platform::kDriveCdrom:
            return DriveKind::Cdrom;
        case platform::kDriveRamdisk:
            return DriveKind::Ram;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string FileNameCase(const platform::TextLocale& codePage, const std::string& text, bool upper,
                         const LocaleCase& localeCase) {
    if (codePage.hasLeadBytes() || !localeCase) {
        std::string out = text;
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (codePage.isLeadByte(static_cast<unsigned char>(out[i]))) {
                ++i;  // the trail byte may look like a letter; it is part of the character
                continue;
            }
            out[i] = upper ? asciiUpper(out[i]) : asciiLower(out[i]);
        }
        return out;
    }
    return codePage.fromUtf8(localeCase(codePage.toUtf8(text), upper));
}

std::vector<DriveRow> ReadDriveRows(platform::Drives& drives, const platform::TextLocale& codePage, bool upperCase,
                                    const LocaleCase& localeCase) {
    std::vector<DriveRow> rows;
    const std::uint32_t mask = drives.getLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (std::uint32_t(1) << i)) == 0)
            continue;
        char letter = char('a' + i);
        const std::string root{letter, ':', '\\'};
        const std::uint32_t type = drives.getDriveType(root);
        if (upperCase)
            letter = asciiUpper(letter);
        const auto kind = KindOfType(type);
        if (!kind)
            continue;  // type not determined, or no root directory
        DriveRow row;
        row.letter = letter;
        row.kind = *kind;
        row.text = std::string{letter, ':'};
        if (row.kind == DriveKind::Network) {
            row.networkName = NetworkName(drives, codePage, letter, localeCase);
            row.text +=
                ' ' + (row.networkName ? *row.networkName : VolumeLabelText(drives, codePage, letter, localeCase));
            if (row.networkName)
                row.networkName = codePage.toUtf8(*row.networkName);
        } else if (row.kind != DriveKind::Removable) {  // a floppy's label is not read: it would spin up
            row.text += ' ' + VolumeLabelText(drives, codePage, letter, localeCase);
        }
        row.textUtf8 = codePage.toUtf8(row.text);
        rows.push_back(std::move(row));
    }
    return rows;
}

char CurrentDriveLetter(const platform::Drives& drives) {
    const auto directory = drives.getCurrentDirectory();
    return (directory && !directory->empty() && isAsciiLetter(directory->front())) ? directory->front() : 0;
}

}  // namespace zelvo
