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
std::optional<platform::CodePageText> asFromBuffer(const platform::CodePageText& text) {
    std::string cut = text.bytes().substr(0, text.bytes().find('\0'));
    if (cut.size() >= kNameBufferChars)
        return std::nullopt;
    return platform::CodePageText(std::move(cut));
}

platform::CodePageText VolumeLabelText(platform::Drives& drives, const platform::TextLocale& codePage, char letter,
                                       const LocaleCase& localeCase) {
    const platform::ErrorModeScope errorMode(drives, platform::kSemFailCriticalErrors);
    platform::CodePageText label;
    if (const auto info = drives.getVolumeInformation(std::string{letter, ':', '\\'}))
        label = asFromBuffer(info->label).value_or(platform::CodePageText());
    return platform::CodePageText('[' + FileNameCase(codePage, label, upperFor(letter), localeCase).bytes() + ']');
}

std::optional<platform::CodePageText> NetworkName(const platform::Drives& drives, const platform::TextLocale& codePage,
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

platform::CodePageText FileNameCase(const platform::TextLocale& codePage, const platform::CodePageText& text,
                                    bool upper, const LocaleCase& localeCase) {
    if (codePage.hasLeadBytes() || !localeCase) {
        std::string out = text.bytes();
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (codePage.isLeadByte(static_cast<unsigned char>(out[i]))) {
                ++i;  // the trail byte may look like a letter; it is part of the character
                continue;
            }
            out[i] = upper ? asciiUpper(out[i]) : asciiLower(out[i]);
        }
        return platform::CodePageText(std::move(out));
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
        std::string text{letter, ':'};
        if (row.kind == DriveKind::Network) {
            const auto share = NetworkName(drives, codePage, letter, localeCase);
            text += ' ' + (share ? *share : VolumeLabelText(drives, codePage, letter, localeCase)).bytes();
            if (share)
                row.networkName = codePage.toUtf8(*share);
        } else if (row.kind != DriveKind::Removable) {  // a floppy's label is not read: it would spin up
            text += ' ' + VolumeLabelText(drives, codePage, letter, localeCase).bytes();
        }
        row.text = platform::CodePageText(std::move(text));
        row.textUtf8 = codePage.toUtf8(row.text);
        rows.push_back(std::move(row));
    }
    return rows;
}

char CurrentDriveLetter(const platform::Drives& drives) {
    const auto directory = drives.getCurrentDirectory();
    if (!directory || directory->empty())
        return 0;
    const char first = directory->bytes().front();
    return isAsciiLetter(first) ? first : 0;
}

}  // namespace zelvo
