#include "format/FormatFigure.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "format/NumberSeparators.h"
#include "platform/Errors.h"

namespace zelvo {

namespace {

constexpr int kSignificandBits = 64;  // of the extended type figures are defined with
constexpr int kFigureDigits = 18;     // significant digits a figure is taken with
constexpr int kGeneralDigits = 15;    // significant digits of the general form

// sign, digits d1 d2 ... (no leading or trailing zero, empty for zero) and exponent E, for the
// magnitude 0.d1 d2 ... * 10^E. Zero is no digits, E = 0, no sign.
struct DecimalForm {
    bool negative = false;
    int length = 0;
    int exponent = 0;
    std::array<char, kFigureDigits + 1> digits{};
};

// Adds one unit in the last of `count` decimal digits; true when the carry runs out of the first.
bool incrementDigits(char* digits, int count) {
    for (int i = count - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

void stripTrailingZeros(DecimalForm& form) {
    while (form.length > 0 && form.digits[static_cast<std::size_t>(form.length - 1)] == '0')
        --form.length;
    if (form.length == 0)
        form = DecimalForm{};
}

// Figures are defined on a 64-bit significand: a wider long double is first rounded to one, half
// to even (rint in the default rounding mode). A narrower one holds its value exactly anyway.
long double withFigureSignificand(long double magnitude) {
    if constexpr (LDBL_MANT_DIG > kSignificandBits) {
        int exponent = 0;
        const long double fraction = std::frexp(magnitude, &exponent);
        const long double rounded =
            std::ldexp(std::rint(std::ldexp(fraction, kSignificandBits)), exponent - kSignificandBits);
        // Only the largest values can round past the type's range; they keep their own digits.
        return std::isfinite(rounded) ? rounded : magnitude;
    }
    return magnitude;
}

// The finite `value` with `precision` (at most kFigureDigits) significant digits of its exact
// binary value, an exact half going to the even digit: what std::to_chars gives.
DecimalForm toDecimalForm(long double value, int precision) {
    DecimalForm form;
    if (value == 0)
        return form;
    form.negative = std::signbit(value);

    // d.ddd...e+XX with `precision` digits in all; no long double's exponent has more than four
    // digits.
    std::array<char, kFigureDigits + 16> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), withFigureSignificand(std::fabs(value)),
                                       std::chars_format::scientific, precision - 1);
    const char* p = text.data();
    form.digits[static_cast<std::size_t>(form.length++)] = *p++;
    if (*p == '.') {
        for (++p; *p != 'e'; ++p)
            form.digits[static_cast<std::size_t>(form.length++)] = *p;
    }
    ++p;  // 'e'
    if (*p == '+')
        ++p;  // from_chars takes no plus sign
    int exponent = 0;
    std::from_chars(p, written.ptr, exponent);
    form.exponent = exponent + 1;  // d.ddd * 10^x is 0.dddd * 10^(x+1)
    stripTrailingZeros(form);
    return form;
}

// Rounds half away from zero to `places` decimal places, on the digits as they stand.
void roundToPlaces(DecimalForm& form, int places) {
    const int keep = form.exponent + places;
    if (keep < 0) {
        form = DecimalForm{};
        return;
    }
    if (keep >= form.length)
        return;
    const bool up = form.digits[static_cast<std::size_t>(keep)] >= '5';
    form.length = keep;
    if (up && (keep == 0 || incrementDigits(form.digits.data(), keep))) {
        form.digits[0] = '1';
        form.length = 1;
        ++form.exponent;
    }
    stripTrailingZeros(form);
}

// ---------------------------------------------------------------------------------------------
// Pattern scan.

struct PatternPiece {
    enum Kind { Placeholder, DecimalPoint, GroupingMark, Text } kind = Text;
    bool mandatory = false;   // "0" rather than "#"
    bool afterPoint = false;  // a decimal placeholder
    std::string_view text;    // for Text: written unchanged
};

// Calls `visit` with each piece of the pattern, left to right.
template <typename Visit>
void scanPattern(std::string_view pattern, Visit&& visit) {
    bool seenPoint = false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '"' || c == '\'') {
            // Literal text up to the matching quote; an unclosed quote runs to the end.
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            visit(PatternPiece{PatternPiece::Text, false, false, pattern.substr(i + 1, end - i - 1)});
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        switch (c) {
            case '#':
            case '0':
                visit(PatternPiece{PatternPiece::Placeholder, c == '0', seenPoint, {}});
                break;
            case '.':
                if (!seenPoint) {
                    seenPoint = true;
                    visit(PatternPiece{PatternPiece::DecimalPoint, false, false, {}});
                }
                break;
            case ',':
                visit(PatternPiece{PatternPiece::GroupingMark, false, false, {}});
                break;
            default:
                visit(PatternPiece{PatternPiece::Text, false, false, pattern.substr(i, 1)});
                break;
        }
        ++i;
    }
}

struct PatternShape {
    int integerPlaceholders = 0;
    int decimalPlaces = 0;     // D
    int minIntegerDigits = 0;  // M
    int minDecimalDigits = 0;  // N
    bool grouping = false;
    bool hasPoint = false;
};

PatternShape shapeOf(std::string_view pattern) {
    PatternShape shape;
    int firstMandatoryInteger = -1;
    scanPattern(pattern, [&](const PatternPiece& piece) {
        switch (piece.kind) {
            case PatternPiece::Placeholder:
                if (piece.afterPoint) {
                    ++shape.decimalPlaces;
                    if (piece.mandatory)
                        shape.minDecimalDigits = shape.decimalPlaces;
                } else {
                    if (piece.mandatory && firstMandatoryInteger < 0)
                        firstMandatoryInteger = shape.integerPlaceholders;
                    ++shape.integerPlaceholders;
                }
                break;
            case PatternPiece::DecimalPoint:
                shape.hasPoint = true;
                break;
            case PatternPiece::GroupingMark:
                shape.grouping = true;
                break;
            case PatternPiece::Text:
                break;
        }
    });
    if (firstMandatoryInteger >= 0)
        shape.minIntegerDigits = shape.integerPlaceholders - firstMandatoryInteger;
    return shape;
}

// ---------------------------------------------------------------------------------------------
// Output.

// The separators never put a NUL into a text: an empty decimal setting writes '.'.
std::string_view decimalCharacter(const NumberSeparators& separators) {
    return separators.decimal.isNone() ? std::string_view(".") : separators.decimal.bytes();
}

// Values the pattern is not applied to: d.ddd...E+XX with up to 15 significant digits, "INF",
// "-INF" or "NAN".
std::string generalForm(long double value, const NumberSeparators& separators) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    const DecimalForm form = toDecimalForm(value, kGeneralDigits);
    std::string out;
    if (form.negative)
        out += '-';
    out += form.length > 0 ? form.digits[0] : '0';
    if (form.length > 1) {
        out += decimalCharacter(separators);
        out.append(form.digits.data() + 1, static_cast<std::size_t>(form.length - 1));
    }
    const int exponent = form.length > 0 ? form.exponent - 1 : 0;
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    if (std::abs(exponent) < 10)
        out += '0';
    std::array<char, 8> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::abs(exponent));
    out.append(buffer.data(), result.ptr);
    return out;
}

constexpr long double kLargestPatternedValue = 1e18L;  // from here on the general form is used
// Integer digits: at most 19 from a value below 10^18 after rounding, or the pattern's minimum.
constexpr std::size_t kMaxLayoutDigits = kMaxFigurePatternLength + 24;

}  // namespace

std::string FormatFigure(std::string_view pattern, long double value) {
    if (pattern.size() > kMaxFigurePatternLength)
        throw EConvertError("書式文字列が長すぎます");

    const NumberSeparators separators = numberSeparators();
    if (!std::isfinite(value) || std::fabs(value) >= kLargestPatternedValue)
        return generalForm(value, separators);

    const PatternShape shape = shapeOf(pattern);
    DecimalForm form = toDecimalForm(value, kFigureDigits);
    roundToPlaces(form, shape.decimalPlaces);

    // Integer digits, most significant first: the first E digits, filled with "0" on the right and
    // on the left up to M; M zeros for a value below 1.
    std::array<char, kMaxLayoutDigits> integerDigits{};
    int integerCount = 0;
    if (form.exponent >= 1) {
        for (int i = form.exponent; i < shape.minIntegerDigits; ++i)
            integerDigits[static_cast<std::size_t>(integerCount++)] = '0';
        for (int i = 0; i < form.exponent; ++i)
            integerDigits[static_cast<std::size_t>(integerCount++)] =
                i < form.length ? form.digits[static_cast<std::size_t>(i)] : '0';
    } else {
        for (int i = 0; i < shape.minIntegerDigits; ++i)
            integerDigits[static_cast<std::size_t>(integerCount++)] = '0';
    }

    // Decimal digits: -E zeros for E < 0, then the digits after the first max(E, 0), filled with
    // "0" on the right up to N. The rounding leaves at most D of them.
    std::array<char, kMaxLayoutDigits> decimalDigits{};
    int decimalCount = 0;
    for (int i = form.exponent; i < 0; ++i)
        decimalDigits[static_cast<std::size_t>(decimalCount++)] = '0';
    for (int i = std::max(form.exponent, 0); i < form.length; ++i)
        decimalDigits[static_cast<std::size_t>(decimalCount++)] = form.digits[static_cast<std::size_t>(i)];
    while (decimalCount < shape.minDecimalDigits)
        decimalDigits[static_cast<std::size_t>(decimalCount++)] = '0';

    std::string out;
    const std::string_view thousands = shape.grouping ? separators.thousands.bytes() : std::string_view();
    out.reserve(pattern.size() + static_cast<std::size_t>(integerCount + decimalCount) * (thousands.size() + 1) + 8);
    if (form.negative)
        out += '-';

    // Writes the integer digit at `place`, the units digit being place 1, and the thousands
    // separator after places 4, 7, 10, ...
    const auto writeIntegerDigit = [&](int place) {
        out += integerDigits[static_cast<std::size_t>(integerCount - place)];
        if (!thousands.empty() && place > 1 && place % 3 == 1)
            out += thousands;
    };
    const auto writeIntegerDigitsFrom = [&](int highestPlace, int lowestPlace) {
        for (int place = highestPlace; place >= lowestPlace; --place)
            writeIntegerDigit(place);
    };

    int integerSeen = 0;
    int decimalSeen = 0;
    scanPattern(pattern, [&](const PatternPiece& piece) {
        switch (piece.kind) {
            case PatternPiece::Placeholder:
                if (!piece.afterPoint) {
                    const int place = shape.integerPlaceholders - integerSeen;
                    // Digits beyond the placeholders go at the place of the first one.
                    if (integerSeen == 0)
                        writeIntegerDigitsFrom(integerCount, place + 1);
                    if (place <= integerCount)
                        writeIntegerDigit(place);
                    ++integerSeen;
                } else {
                    ++decimalSeen;
                    if (decimalSeen <= decimalCount) {
                        if (decimalSeen == 1)
                            out += decimalCharacter(separators);
                        out += decimalDigits[static_cast<std::size_t>(decimalSeen - 1)];
                    }
                }
                break;
            case PatternPiece::DecimalPoint:
                // Without integer placeholders the integer digits stand at the decimal point.
                if (shape.integerPlaceholders == 0)
                    writeIntegerDigitsFrom(integerCount, 1);
                break;
            case PatternPiece::GroupingMark:
                break;
            case PatternPiece::Text:
                out += piece.text;
                break;
        }
    });
    // A pattern without any placeholder or decimal point still shows the figure, at its end.
    if (shape.integerPlaceholders == 0 && !shape.hasPoint)
        writeIntegerDigitsFrom(integerCount, 1);
    return out;
}

}  // namespace zelvo
