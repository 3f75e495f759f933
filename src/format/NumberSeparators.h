#pragma once
// The process-wide number separators that FormatFigure writes: the thousands separator and the
// decimal separator, taken from the user's regional settings.

namespace zelvo::platform {
class Platform;
}

namespace zelvo {

struct NumberSeparators {
    char thousands = ',';  // NUL: the setting is empty, no grouping character is written
    char decimal = '.';    // NUL: the setting is empty; FormatFigure then writes '.'
};

// The separators in force. Read by FormatFigure; only the user-interface thread touches them.
NumberSeparators numberSeparators();

// Replaces the separators. A character outside ASCII (other than NUL) cannot stand alone in the
// UTF-8 texts the pages show, so it is replaced by the default for its role.
void setNumberSeparators(NumberSeparators separators);

// Reads both separators from the thread locale with a two-character buffer: a failed query (no
// such setting, or one longer than one byte) keeps the default, an empty setting gives NUL,
// otherwise the setting's one character is used (if it is ASCII; see setNumberSeparators).
void LoadNumberSeparators(platform::Platform& platform);

}  // namespace zelvo
