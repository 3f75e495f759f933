#pragma once
// The process-wide number separators that FormatFigure writes: the thousands separator and the
// decimal separator, taken from the user's regional settings.

#include <array>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string_view>

namespace zelvo::platform {
class TextLocale;
}

namespace zelvo {

// One separator character as the bytes FormatFigure writes: an ASCII byte or the UTF-8 bytes of one
// character (a French or Russian locale groups with U+202F or U+00A0), or none.
class Separator {
public:
    constexpr Separator() = default;  // none
    // One byte; NUL is none. A byte outside ASCII is not a whole character (see isWhole). Implicit,
    // so that a plain character stands wherever a separator is expected.
    constexpr Separator(char byte) : bytes_{byte}, size_(byte == '\0' ? 0 : 1) {}

    // The separator written as `utf8`: none when it is empty, nullopt unless it is exactly one
    // whole, well-formed UTF-8 character other than NUL (which would end the figure's text).
    static std::optional<Separator> fromUtf8(std::string_view utf8);

    bool isNone() const { return size_ == 0; }
    // None, or one whole UTF-8 character: what may stand in a UTF-8 figure text.
    bool isWhole() const;
    std::string_view bytes() const { return {bytes_.data(), size_}; }

    friend bool operator==(const Separator& a, const Separator& b) { return a.bytes() == b.bytes(); }

private:
    std::array<char, 4> bytes_{};
    std::size_t size_ = 0;
};

// Writes the separator's bytes, or "none".
std::ostream& operator<<(std::ostream& out, const Separator& separator);

struct NumberSeparators {
    Separator thousands = ',';  // none: the setting is empty, no grouping character is written
    Separator decimal = '.';    // none: the setting is empty; FormatFigure then writes '.'
};

// The separators in force. Read by FormatFigure; only the user-interface thread touches them.
NumberSeparators numberSeparators();

// Replaces the separators. One that is not a whole character (a lone byte outside ASCII would make
// the UTF-8 texts the pages show invalid) is replaced by the default for its role.
void setNumberSeparators(NumberSeparators separators);

// Reads both separators from the thread locale with a two-character buffer: a failed query (no
// such setting, or one longer than one character) keeps the default, an empty setting gives none,
// otherwise the setting's one character is used. The backends of a code page answer single bytes,
// of which only ASCII passes; the Linux backend answers one UTF-8 character.
void LoadNumberSeparators(const platform::TextLocale& text);

}  // namespace zelvo
