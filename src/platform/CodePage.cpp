#include "platform/CodePage.h"

#include "platform/CharacterLengths.h"

namespace zelvo::platform::cp932 {

bool isLeadByte(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t characterLength(const unsigned char* in, std::size_t left) {
    if (left >= 2 && isLeadByte(in[0]) && in[1] >= 0x40 && in[1] != 0x7F && in[1] <= 0xFC)
        return 2;
    return 1;
}

std::size_t byteCount(std::string_view utf8) {
    return fromUtf8(utf8).size();
}

}  // namespace zelvo::platform::cp932

namespace zelvo::platform::utf8 {

std::size_t characterLength(const unsigned char* in, std::size_t left) {
    std::size_t n = 1;
    if (in[0] >= 0xF0 && in[0] <= 0xF4)
        n = 4;
    else if (in[0] >= 0xE0 && in[0] <= 0xEF)
        n = 3;
    else if (in[0] >= 0xC2 && in[0] <= 0xDF)
        n = 2;
    // A broken sequence gives up at its first byte that is not a continuation byte.
    std::size_t i = 1;
    while (i < n && i < left && (in[i] & 0xC0) == 0x80)
        ++i;
    return i;
}

}  // namespace zelvo::platform::utf8
