#pragma once
// Conversion between CP932 (the Japanese Windows code page, Shift-JIS with Microsoft's
// extensions) and UTF-8. The simulated machine speaks CP932 at its interface; the program's own
// texts are UTF-8. Characters that have no counterpart become '?'; the conversions never throw.
// Each backend converts with its system's own tables (win32/CodePages.cpp, linux/IconvCodePage.cpp).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvo::platform::cp932 {

std::string toUtf8(std::string_view cp932);
std::string fromUtf8(std::string_view utf8);

// Whether `byte` starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool isLeadByte(std::uint8_t byte);

// How many bytes a UTF-8 text takes in CP932 (a double-byte character counts two).
std::size_t byteCount(std::string_view utf8);

}  // namespace zelvo::platform::cp932
