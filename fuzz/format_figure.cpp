// FormatFigure with any pattern, any value and any separators the locale may give. Parts: the
// thousands separator, the decimal separator, the value as text, the pattern.

#include <QByteArrayView>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "format/FormatFigure.h"
#include "format/NumberSeparators.h"
#include "platform/Errors.h"

using namespace zelvo;

namespace {

bool isUtf8(std::string_view text) {
    return QByteArrayView(text.data(), static_cast<qsizetype>(text.size())).isValidUtf8();
}

// The program's own patterns write the value itself: read back, the text is the value rounded to
// the pattern's decimal places.
void checkFigure(std::string_view pattern, long double value, std::string text) {
    const std::pair<std::string_view, int> patterns[] = {
        {kMegabytePattern, 2}, {kGigabytePattern, 2}, {kGigahertzPattern, 3}, {kMegahertzPattern, 2}};
    const auto used = std::find_if(std::begin(patterns), std::end(patterns),
                                   [pattern](const auto& known) { return known.first == pattern; });
    const NumberSeparators separators = numberSeparators();
    const std::string_view thousands = separators.thousands.bytes();
    const std::string_view decimal = separators.decimal.isNone() ? "." : separators.decimal.bytes();
    const bool plainSeparators = thousands.find_first_of("0123456789-.eE") == std::string_view::npos &&
                                 decimal.find_first_of("0123456789-eE") == std::string_view::npos &&
                                 thousands != decimal;
    if (used == std::end(patterns) || !plainSeparators || !std::isfinite(value) || std::fabs(value) >= 1e15L)
        return;
    text = text.substr(0, text.rfind(' '));  // the unit
    std::string plain;
    for (std::size_t i = 0; i < text.size();) {
        if (!thousands.empty() && text.compare(i, thousands.size(), thousands) == 0) {
            i += thousands.size();
        } else if (text.compare(i, decimal.size(), decimal) == 0) {
            plain += '.';
            i += decimal.size();
        } else {
            plain += text[i++];
        }
    }
    char* end = nullptr;
    const long double readBack = std::strtold(plain.c_str(), &end);
    fuzz::require(end == plain.c_str() + plain.size(), "the figure is a number");
    const long double tolerance = 0.5L * std::pow(10.0L, -used->second) + std::fabs(value) * 1e-16L;
    fuzz::require(std::fabs(readBack - value) <= tolerance, "the figure is the value, rounded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [thousands, decimal, number, pattern] = fuzz::parts<4>(data, size);
    NumberSeparators separators;
    separators.thousands = Separator::fromUtf8(thousands).value_or(Separator(thousands.empty() ? '\0' : thousands[0]));
    separators.decimal = Separator::fromUtf8(decimal).value_or(Separator(decimal.empty() ? '\0' : decimal[0]));
    setNumberSeparators(separators);
    fuzz::require(numberSeparators().thousands.isWhole() && numberSeparators().decimal.isWhole(),
                  "the separators in force are whole characters");

    const std::string numberText(number.substr(0, 64));
    const long double value = std::strtold(numberText.c_str(), nullptr);
    std::string text;
    try {
        text = FormatFigure(pattern, value);
    } catch (const EConvertError&) {
        fuzz::require(pattern.size() > kMaxFigurePatternLength, "only a pattern too long is refused");
        return 0;
    }
    fuzz::require(pattern.size() <= kMaxFigurePatternLength, "a pattern too long is refused");
    if (isUtf8(pattern))
        fuzz::require(isUtf8(text), "a UTF-8 pattern gives a UTF-8 text");
    fuzz::require(text.find('\0') == std::string::npos || pattern.find('\0') != std::string_view::npos,
                  "no NUL that the pattern did not hold");
    checkFigure(pattern, value, text);
    return 0;
}
