#pragma once
// Where one character ends in a text of either encoding the code-page conversions meet: a
// conversion that cannot convert a character replaces the whole of it, not its first byte.

#include <cstddef>

namespace zelvo::platform {

namespace cp932 {
// Bytes of `in` (`left` bytes long, at least one) that make the character starting there: two for
// a lead byte followed by a valid trail byte, otherwise one.
std::size_t characterLength(const unsigned char* in, std::size_t left);
}  // namespace cp932

namespace utf8 {
// Bytes of `in` (`left` bytes long, at least one) that make the sequence starting there; a broken
// sequence ends at its first byte that is not a continuation byte.
std::size_t characterLength(const unsigned char* in, std::size_t left);
}  // namespace utf8

}  // namespace zelvo::platform
