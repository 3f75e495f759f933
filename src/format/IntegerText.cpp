#include "format/IntegerText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace zelvo {

namespace {

constexpr int kMaxHexMinimum = 32;

}  // namespace

std::string IntegerText(std::int32_t value) {
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string HexText(std::uint64_t value, int minDigits) {
    if (minDigits > kMaxHexMinimum || minDigits < 0)
        minDigits = 0;
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16);
    std::string digits(buffer.data(), result.ptr);
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    if (digits.size() < static_cast<std::size_t>(minDigits))
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return digits;
}

}  // namespace zelvo
