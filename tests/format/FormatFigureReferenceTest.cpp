// FormatFigure against an independent model of the same rules, on large samples of values.
//
// The model takes the 18 significant digits from the C library's printf (exact for long double
// on glibc, ties to even), then rounds half away from zero on a fixed-point digit string and
// groups it from the right. It shares no code with FormatFigure.
#include "format/FormatFigure.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "ScopedNumberSeparators.h"

namespace zelvo {
namespace {

using test::ScopedNumberSeparators;

// ---- the model ----

std::string referenceFigure(long double value, int places, std::string_view suffix, std::string_view thousands,
                            std::string_view decimal) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.17Le", value);  // [-]d.ddddddddddddddddde[+-]xx
    const char* p = printed;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    std::string digits(1, p[0]);
    digits.append(p + 2, 17);
    const int pointAfter = std::atoi(p + 2 + 17 + 1) + 1;  // digits before the decimal point

    // Fixed-point form: integer digits and fraction digits.
    std::string integerPart;
    std::string fraction;
    if (pointAfter <= 0) {
        integerPart = "0";
        fraction = std::string(static_cast<std::size_t>(-pointAfter), '0') + digits;
    } else if (pointAfter >= static_cast<int>(digits.size())) {
        integerPart = digits + std::string(static_cast<std::size_t>(pointAfter) - digits.size(), '0');
    } else {
        integerPart = digits.substr(0, static_cast<std::size_t>(pointAfter));
        fraction = digits.substr(static_cast<std::size_t>(pointAfter));
    }
    if (fraction.size() < static_cast<std::size_t>(places) + 1)
        fraction.resize(static_cast<std::size_t>(places) + 1, '0');

    // Keep `places` fraction digits; add one unit in the last kept place when the next digit is 5
    // or more.
    std::string kept = integerPart + fraction.substr(0, static_cast<std::size_t>(places));
    if (fraction[static_cast<std::size_t>(places)] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9')
            kept[--i] = '0';
        if (i == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i - 1];
    }
    std::string whole = kept.substr(0, kept.size() - static_cast<std::size_t>(places));
    std::string decimals = kept.substr(kept.size() - static_cast<std::size_t>(places));
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    while (whole.size() > 1 && whole.front() == '0')
        whole.erase(whole.begin());
    const bool zero = whole == "0" && decimals.empty();

    std::string text = negative && !zero ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += thousands;
        text += whole[i];
    }
    if (!decimals.empty()) {
        text += decimal.empty() ? "." : decimal;
        text += decimals;
    }
    text += suffix;
    return text;
}

// The general form: printf's 15 significant digits, trailing zeros dropped.
std::string referenceGeneral(long double value) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.14LE", value);
    std::string text = printed;
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    while (mantissa.back() == '0')
        mantissa.pop_back();
    if (mantissa.back() == '.')
        mantissa.pop_back();
    return mantissa + text.substr(e);
}

// ---- the samples ----

struct PatternModel {
    std::string_view pattern;
    int places;
    std::string_view suffix;
};

constexpr std::array<PatternModel, 4> kPatterns = {{{kMegabytePattern, 2, " MB"},
                                                    {kGigabytePattern, 2, " GB"},
                                                    {kGigahertzPattern, 3, " GHz"},
                                                    {kMegahertzPattern, 2, " MHz"}}};

const std::array<NumberSeparators, 5> kSeparatorSettings = {
    {{',', '.'}, {'.', ','}, {'\0', '.'}, {' ', ','}, {*Separator::fromUtf8("\u202f"), ','}}};

class ValueSampler {
public:
    explicit ValueSampler(std::uint64_t seed) : rng_(seed) {}

    // A value between about 10^-6 and 10^17, of either sign, from one of several families that
    // stress different parts of the rounding.
    long double next() {
        const long double magnitude = nextMagnitude();
        return coin() ? -magnitude : magnitude;
    }

private:
    long double nextMagnitude() {
        switch (uniformInt(0, 7)) {
            case 0:  // any double, log-uniform
                return std::pow(10.0, uniformReal(-6.0, 17.0));
            case 1:  // any extended value: a full 64-bit significand
                return std::ldexp(static_cast<long double>(rng_() | (std::uint64_t{1} << 63)), uniformInt(-84, -8));
            case 2: {  // integer plus a binary fraction: exact halves at two and three places
                const int bits = uniformInt(1, 12);
                const long double fraction =
                    static_cast<long double>(uniformInt(0, (1 << bits) - 1)) / static_cast<long double>(1 << bits);
                return static_cast<long double>(powerOfTenInt(uniformInt(0, 7))) + fraction;
            }
            case 3: {  // a decimal half at two or three places as the nearest double, nudged
                double v =
                    (static_cast<double>(powerOfTenInt(uniformInt(1, 10))) + 0.5) / std::pow(10.0, uniformInt(2, 3));
                for (int n = uniformInt(-3, 3); n != 0; n += n < 0 ? 1 : -1)
                    v = std::nextafter(v, n < 0 ? 0.0 : 1e300);
                return v;
            }
            case 4:  // a byte count in MB or GB
                return static_cast<double>(rng_() >> uniformInt(14, 63)) / (coin() ? 1048576.0 : 1073741824.0);
            case 5:  // cycles over microseconds, a clock in MHz
                return static_cast<double>(rng_() >> uniformInt(24, 40)) / static_cast<double>(uniformInt(1, 5000000));
            case 6: {  // just around a carry: 10^j minus half a unit of the second or third place
                long double v = std::pow(10.0L, uniformInt(0, 16)) - (coin() ? 0.005L : 0.0005L);
                for (int n = uniformInt(-3, 3); n != 0; n += n < 0 ? 1 : -1)
                    v = std::nextafter(v, n < 0 ? 0.0L : 1e300L);
                return v;
            }
            default: {  // a decimal half in extended precision
                return (static_cast<long double>(powerOfTenInt(uniformInt(1, 15))) + 0.5L) /
                       std::pow(10.0L, uniformInt(2, 3));
            }
        }
    }

    // A random integer below 10^digits.
    std::int64_t powerOfTenInt(int digits) {
        std::int64_t limit = 1;
        for (int i = 0; i < digits; ++i)
            limit *= 10;
        return std::uniform_int_distribution<std::int64_t>(0, limit - 1)(rng_);
    }
    int uniformInt(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    double uniformReal(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng_); }
    bool coin() { return (rng_() & 1) != 0; }

    std::mt19937_64 rng_;
};

std::string hexValue(long double value) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%La (%.25Lg)", value, value);
    return printed;
}

constexpr int kMaxReportedMismatches = 10;

TEST(FormatFigureReference, AgreesOnRandomFiguresWithAllPatternsAndSeparators) {
    constexpr int kValues = 200000;
    ValueSampler sampler(20240601);
    int mismatches = 0;
    for (int i = 0; i < kValues; ++i) {
        const long double value = sampler.next();
        // Every pattern meets every separator setting across consecutive values.
        const PatternModel& model = kPatterns[static_cast<std::size_t>(i) % kPatterns.size()];
        const NumberSeparators separators =
            kSeparatorSettings[static_cast<std::size_t>(i / 4) % kSeparatorSettings.size()];
        ScopedNumberSeparators scoped(separators);
        const std::string expected = referenceFigure(value, model.places, model.suffix, separators.thousands.bytes(),
                                                     separators.decimal.bytes());
        const std::string actual = FormatFigure(model.pattern, value);
        if (actual != expected && ++mismatches <= kMaxReportedMismatches)
            ADD_FAILURE() << "value " << hexValue(value) << " pattern " << model.pattern << " gives [" << actual
                          << "], model [" << expected << "]";
    }
    EXPECT_EQ(mismatches, 0);
}

// An exact binary value whose decimal expansion has exactly 19 significant digits, the last a 5:
// an exact tie when it is taken with 18 digits. M / 2^n has n decimal places, and M * 5^n is its
// digit string, so M is picked to make that 19 digits long.
long double eighteenDigitTie(std::mt19937_64& rng) {
    const int places = 1 + static_cast<int>(rng() % 27);
    std::uint64_t fivePower = 1;
    for (int i = 0; i < places; ++i)
        fivePower *= 5;
    const std::uint64_t low = 1000000000000000000ull / fivePower + 1;
    const std::uint64_t high = 9999999999999999999ull / fivePower;
    const std::uint64_t odd = (low + rng() % (high - low + 1)) | 1u;
    return std::ldexp(static_cast<long double>(odd), -places);
}

// With 60 decimal places nothing is cut at the pattern's places, so the text shows the 18 digits
// themselves: this compares the exact digit generation over a wide range of magnitudes, and the
// rounding of exact ties to even.
TEST(FormatFigureReference, AgreesOnEighteenDigitsOverWideRange) {
    constexpr int kPlaces = 60;
    const std::string pattern = "0." + std::string(kPlaces, '#');
    std::mt19937_64 rng(77);
    ScopedNumberSeparators separators(',', '.');
    int mismatches = 0;
    for (int i = 0; i < 20000; ++i) {
        long double value = 0;
        if (i % 4 == 0 && std::numeric_limits<long double>::digits >= 64) {
            value = eighteenDigitTie(rng);
        } else {
            // below 2^59, down to about 10^-54
            value = std::ldexp(static_cast<long double>(rng() >> (rng() % 64)), static_cast<int>(rng() % 176) - 180);
        }
        const std::string expected = referenceFigure(value, kPlaces, "", "", ".");
        const std::string actual = FormatFigure(pattern, value);
        if (actual != expected && ++mismatches <= kMaxReportedMismatches)
            ADD_FAILURE() << "value " << hexValue(value) << " gives [" << actual << "], model [" << expected << "]";
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(FormatFigureReference, AgreesOnGeneralForm) {
    std::mt19937_64 rng(4932);
    ScopedNumberSeparators separators(',', '.');
    int mismatches = 0;
    for (int i = 0; i < 3000; ++i) {
        // Mostly just above 10^18, some across the whole range of the type.
        const int exponent = i % 10 == 0 ? static_cast<int>(rng() % 16300) : static_cast<int>(rng() % 200);
        long double value = std::ldexp(static_cast<long double>(rng() | (std::uint64_t{1} << 63)), exponent);
        if (rng() & 1)
            value = -value;
        if (!std::isfinite(value) || std::fabs(value) < 1e18L)
            continue;
        const std::string expected = referenceGeneral(value);
        const std::string actual = FormatFigure(kMegabytePattern, value);
        if (actual != expected && ++mismatches <= kMaxReportedMismatches)
            ADD_FAILURE() << "value " << hexValue(value) << " gives [" << actual << "], model [" << expected << "]";
    }
    EXPECT_EQ(mismatches, 0);
}

// The model itself, on rows worked out by hand, so that agreement above means something.
TEST(FormatFigureReference, ModelFollowsTheRules) {
    EXPECT_EQ(referenceFigure(1234.5L, 2, " MB", ",", "."), "1,234.5 MB");
    EXPECT_EQ(referenceFigure(0.125L, 2, " MB", ",", "."), "0.13 MB");
    EXPECT_EQ(referenceFigure(-0.004L, 2, " MB", ",", "."), "0 MB");
    EXPECT_EQ(referenceFigure(999.996L, 2, " MHz", ",", "."), "1,000 MHz");
    EXPECT_EQ(referenceFigure(0.0095L, 2, " MB", ",", "."), "0.01 MB");
    EXPECT_EQ(referenceFigure(1234567.891L, 2, "", ".", ","), "1.234.567,89");
    EXPECT_EQ(referenceGeneral(1.5e18L), "1.5E+18");
}

}  // namespace
}  // namespace zelvo
