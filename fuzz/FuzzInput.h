#pragma once
// What the fuzz targets share: one input split into the several texts a parser reads, and the
// checks that hold for every input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zelvo::fuzz {

// The texts of one input are separated by a line holding only the ASCII record separator, which
// no file of the machine has; the seed script joins recorded files the same way.
inline constexpr std::string_view kPartSeparator{"\n\x1e\n"};

// The first `Count` parts of the input; parts it lacks are empty, the last takes all the rest.
template <std::size_t Count>
std::array<std::string_view, Count> parts(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::array<std::string_view, Count> result{};
    for (std::size_t i = 0; i + 1 < Count; ++i) {
        const auto end = rest.find(kPartSeparator);
        result[i] = rest.substr(0, end);
        if (end == std::string_view::npos)
            return result;
        rest.remove_prefix(end + kPartSeparator.size());
    }
    result[Count - 1] = rest;
    return result;
}

// A promise the parser makes about every input. A broken one aborts, so libFuzzer keeps the
// input that broke it.
inline void require(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

}  // namespace zelvo::fuzz
