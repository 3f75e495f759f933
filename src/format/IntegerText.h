#pragma once
// Plain integer texts: percentages and display figures in decimal, the volume serial number in
// hexadecimal. Neither uses the number separators.

#include <cstdint>
#include <string>

namespace zelvo {

// Decimal digits with "-" before a negative value, no grouping, no leading zeros.
std::string IntegerText(std::int32_t value);

// Upper-case hexadecimal digits, filled with "0" on the left to `minDigits`; a longer text is
// never cut. A minimum above 32 (or below 0) counts as 0.
std::string HexText(std::uint64_t value, int minDigits);

}  // namespace zelvo
