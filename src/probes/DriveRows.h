#pragma once
// The drive selector's rows: which drives are listed, their kind, glyph, text with the volume label
// or network share, and the critical-error mode around the label query. The selector only paints
// what this returns; the reports list the same drives.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/TextLocale.h"

namespace zelvo {

// The kinds of drive that get a row, one glyph each, in the order the glyphs are loaded.
enum class DriveKind : std::uint8_t { Removable, Fixed, Network, Cdrom, Ram };

struct DriveRow {
    char letter = 0;  // in the case the rows were asked for
    DriveKind kind = DriveKind::Fixed;
    platform::CodePageText text;  // the letter, ":" and for all but removable drives " " and the label or share
    std::string textUtf8;         // the same text as UTF-8
    // The share a network drive is connected to, UTF-8 in the row's case; nullopt for other drives
    // and for a network drive whose connection cannot be named (its row shows the label then).
    std::optional<std::string> networkName;
};

// The locale's case conversion of UTF-8 text, which only the toolkit knows; the probe never calls
// it on a double-byte code page.
using LocaleCase = std::function<std::string(const std::string& utf8, bool upper)>;

// Lower- or upper-cases code-page text the way file names are: with a double-byte code page only
// the single-byte letters change and every double-byte character passes unchanged; otherwise the
// locale's case conversion applies to the whole text (ASCII letters only when `localeCase` is empty).
platform::CodePageText FileNameCase(const platform::TextLocale& codePage, const platform::CodePageText& text,
                                    bool upper, const LocaleCase& localeCase);

// The rows of the machine's drives from A: to Z:, letters and labels upper-cased when `upperCase`.
// Drives of an undetermined type or without a root directory get no row. A volume that cannot be
// read gives an empty label "[]"; the label is read with critical errors failed, so a drive
// without a medium brings up no system prompt.
std::vector<DriveRow> ReadDriveRows(platform::Drives& drives, const platform::TextLocale& codePage, bool upperCase,
                                    const LocaleCase& localeCase);

// The letter of the process's current drive, or 0 when the current directory has none (a network
// path such as \\server\share, or a directory that cannot be read).
char CurrentDriveLetter(const platform::Drives& drives);

}  // namespace zelvo
