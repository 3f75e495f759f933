#pragma once
// Figure texts by pattern: the storage and memory sizes and the processor clock.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvo {

// The program's four figure patterns. The pattern language: "#" optional and "0" mandatory digit
// placeholders, the first "." marks the decimal point, any "," outside literal text switches
// grouping on, text in double or single quotes is written unchanged, any other character is
// written where it stands.
inline constexpr std::string_view kMegabytePattern = "#,##0.##\" MB\"";
inline constexpr std::string_view kGigabytePattern = "#,##0.##\" GB\"";
inline constexpr std::string_view kGigahertzPattern = "#,###,##0.###\" GHz\"";
inline constexpr std::string_view kMegahertzPattern = "#,###,##0.##\" MHz\"";

// Longest pattern FormatFigure accepts, in bytes.
inline constexpr std::size_t kMaxFigurePatternLength = 224;

// Writes `value` by `pattern` with the current number separators, as UTF-8. The value is taken
// with 18 significant digits of its exact binary value (an exact half going to the even digit)
// and then rounded half away from zero to the pattern's decimal places; a figure that rounds to
// zero is written as zero, without a sign, and a whole figure without a decimal separator.
// Values of 10^18 or more, infinities and NaN are written in a general form (15 significant
// digits, exponent notation, no pattern text). Throws EConvertError for a pattern longer than
// kMaxFigurePatternLength bytes.
std::string FormatFigure(std::string_view pattern, long double value);

}  // namespace zelvo
