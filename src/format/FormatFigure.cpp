#include "format/FormatFigure.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "format/NumberSeparators.h"
#include "platform/Errors.h"

namespace zelvo {

namespace {

// ---------------------------------------------------------------------------------------------
// Exact decimal digits of a long double.
//
// The digits come from the value's exact binary value (a 64-bit significand times a power of two)
// with integer arithmetic only, so a build whose long double is a plain double writes the same
// texts for the same values as one with the x87 extended type.

constexpr int kSignificandBits = 64;
// frexp exponents: the smallest subnormal and the largest finite value (+1 for the carry when a
// wider significand is rounded to 64 bits).
constexpr int kMinBinaryExponent = LDBL_MIN_EXP - LDBL_MANT_DIG + 1;
constexpr int kMaxBinaryExponent = LDBL_MAX_EXP + 1;
// value = significand * 2^p with p < 0 is written as significand * 5^-p / 10^-p.
constexpr int kMaxFivePower = kSignificandBits - kMinBinaryExponent;
constexpr int kMaxExactBits =
    kSignificandBits + std::max(kMaxBinaryExponent, kMaxFivePower * 2322 / 1000 + 1);  // log2(5) < 2.322
constexpr int kMaxLimbs = kMaxExactBits / 32 + 2;
constexpr std::uint32_t kDecimalGroup = 1000000000;  // nine decimal digits
constexpr int kDigitsPerGroup = 9;
constexpr int kMaxGroups = kMaxLimbs * 32 / 29 + 2;  // each group takes more than 29 bits

// An unsigned integer large enough for any long double's exact significand * 2^p or * 5^p.
class BigUint {
public:
    explicit BigUint(std::uint64_t value) {
        limbs_[0] = static_cast<std::uint32_t>(value);
        limbs_[1] = static_cast<std::uint32_t>(value >> 32);
        size_ = 2;
        trim();
    }

    bool isZero() const { return size_ == 0; }

    void shiftLeft(int bits) {
        if (size_ == 0 || bits <= 0)
            return;
        const int part = bits % 32;
        if (part != 0) {
            std::uint32_t carry = 0;
            for (std::size_t i = 0; i < size_; ++i) {
                const std::uint64_t shifted = static_cast<std::uint64_t>(limbs_[i]) << part;
                limbs_[i] = static_cast<std::uint32_t>(shifted) | carry;
                carry = static_cast<std::uint32_t>(shifted >> 32);
            }
            if (carry != 0)
                limbs_[size_++] = carry;
        }
        const std::size_t whole = static_cast<std::size_t>(bits / 32);
        if (whole != 0) {
            std::copy_backward(limbs_.begin(), limbs_.begin() + size_, limbs_.begin() + size_ + whole);
            std::fill(limbs_.begin(), limbs_.begin() + whole, 0u);
            size_ += whole;
        }
    }

    void multiplyByPowerOfFive(int exponent) {
        static constexpr std::array<std::uint32_t, 14> kPowersOfFive = {
            1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};
        constexpr int kLargestStep = static_cast<int>(kPowersOfFive.size()) - 1;
        for (; exponent >= kLargestStep; exponent -= kLargestStep)
            multiply(kPowersOfFive[kLargestStep]);
        if (exponent > 0)
            multiply(kPowersOfFive[static_cast<std::size_t>(exponent)]);
    }

    // Divides in place and returns the remainder.
    std::uint32_t divide(std::uint32_t divisor) {
        std::uint64_t remainder = 0;
        for (std::size_t i = size_; i-- > 0;) {
            const std::uint64_t current = (remainder << 32) | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(current / divisor);
            remainder = current % divisor;
        }
        trim();
        return static_cast<std::uint32_t>(remainder);
    }

private:
    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t product = static_cast<std::uint64_t>(limbs_[i]) * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            limbs_[size_++] = static_cast<std::uint32_t>(carry);
    }

    void trim() {
        while (size_ > 0 && limbs_[size_ - 1] == 0)
            --size_;
    }

    std::array<std::uint32_t, kMaxLimbs> limbs_;  // least significant first; only [0, size_) is used
    std::size_t size_ = 0;
};

constexpr int kFigureDigits = 18;   // significant digits a figure is taken with
constexpr int kGeneralDigits = 15;  // significant digits of the general form

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

// The finite non-zero `magnitude` as significand * 2^power, the significand odd.
void decompose(long double magnitude, std::uint64_t& significand, int& power) {
    int binaryExponent = 0;
    const long double fraction = std::frexp(magnitude, &binaryExponent);  // [0.5, 1)
    const long double scaled = std::ldexp(fraction, kSignificandBits);    // [2^63, 2^64)
    significand = static_cast<std::uint64_t>(scaled);
    if constexpr (LDBL_MANT_DIG > kSignificandBits) {
        // A wider long double is first rounded, half to even, to the 64-bit significand figures
        // are defined with.
        const long double rest = scaled - static_cast<long double>(significand);
        if (rest > 0.5L || (rest == 0.5L && (significand & 1u) != 0)) {
            if (++significand == 0) {
                significand = std::uint64_t{1} << 63;
                ++binaryExponent;
            }
        }
    }
    power = binaryExponent - kSignificandBits;
    const int zeroBits = std::countr_zero(significand);
    significand >>= zeroBits;
    power += zeroBits;
}

// The finite `value` with `precision` (at most kFigureDigits) significant digits of its exact
// value, an exact half rounded to the even digit.
DecimalForm toDecimalForm(long double value, int precision) {
    DecimalForm form;
    const long double magnitude = std::fabs(value);
    if (magnitude == 0)
        return form;
    form.negative = std::signbit(value);

    std::uint64_t significand = 0;
    int power = 0;
    decompose(magnitude, significand, power);
    BigUint exact(significand);
    int decimalShift = 0;
    if (power >= 0) {
        exact.shiftLeft(power);
    } else {
        exact.multiplyByPowerOfFive(-power);
        decimalShift = power;
    }

    std::array<std::uint32_t, kMaxGroups> groups;  // least significant first
    int groupCount = 0;
    while (!exact.isZero())
        groups[static_cast<std::size_t>(groupCount++)] = exact.divide(kDecimalGroup);

    // The leading precision + 1 digits, whether any digit after them is non-zero, and how many
    // digits the exact integer has.
    std::array<char, kFigureDigits + 1> lead{};
    int leadCount = 0;
    bool sticky = false;
    int totalDigits = 0;
    for (int g = groupCount - 1; g >= 0; --g) {
        std::uint32_t group = groups[static_cast<std::size_t>(g)];
        if (leadCount > precision) {
            // Past the leading digits only whether anything is non-zero matters.
            totalDigits += kDigitsPerGroup;
            sticky = sticky || group != 0;
            continue;
        }
        std::array<char, kDigitsPerGroup> text{};
        for (int i = kDigitsPerGroup - 1; i >= 0; --i) {
            text[static_cast<std::size_t>(i)] = static_cast<char>('0' + group % 10);
            group /= 10;
        }
        int start = 0;
        if (g == groupCount - 1) {
            while (text[static_cast<std::size_t>(start)] == '0')
                ++start;
        }
        for (int i = start; i < kDigitsPerGroup; ++i) {
            const char digit = text[static_cast<std::size_t>(i)];
            ++totalDigits;
            if (leadCount <= precision)
                lead[static_cast<std::size_t>(leadCount++)] = digit;
            else if (digit != '0')
                sticky = true;
        }
    }
    form.exponent = totalDigits + decimalShift;
    form.length = std::min(leadCount, precision);
    std::copy_n(lead.begin(), form.length, form.digits.begin());

    if (leadCount > precision) {
        const char next = lead[static_cast<std::size_t>(precision)];
        const bool lastOdd = (lead[static_cast<std::size_t>(precision - 1)] - '0') % 2 != 0;
        if (next > '5' || (next == '5' && (sticky || lastOdd))) {
            if (incrementDigits(form.digits.data(), form.length)) {
                form.digits[0] = '1';
                form.length = 1;
                ++form.exponent;
            }
        }
    }
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
    DecimalForm form;
    // Far below half a unit of the last place (16^-(D+2) < 0.4 * 10^-D) the value rounds to zero
    // whatever its digits; this keeps subnormal values from costing thousands of digits.
    const bool negligible = value == 0 || std::ilogb(value) < -4 * (shape.decimalPlaces + 2);
    if (!negligible)
        form = toDecimalForm(value, kFigureDigits);
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
