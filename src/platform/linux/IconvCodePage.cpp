// The CP932 conversions by the C library's iconv.

#include <iconv.h>

#include <cerrno>

#include "platform/CharacterLengths.h"
#include "platform/CodePage.h"

namespace zelvo::platform::cp932 {

namespace {

// Bytes of input that stand for one character that could not be converted.
using SkipRule = std::size_t (*)(const unsigned char* in, std::size_t left);

std::string convert(const char* to, const char* from, std::string_view in, SkipRule skip) {
    std::string out;
    if (in.empty())
        return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr): iconv_open's failure value
        // No converter installed: keep what is ASCII in both encodings.
        for (unsigned char c : in)
            out += c < 0x80 ? static_cast<char>(c) : '?';
        return out;
    }
    out.reserve(in.size() * 2);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[512];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // EILSEQ (invalid or unmappable) or EINVAL (cut off at the end): one '?' for the character.
        out += '?';
        const std::size_t n = skip(reinterpret_cast<const unsigned char*>(inPtr), inLeft);
        inPtr += n;
        inLeft -= n;
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string toUtf8(std::string_view cp932) {
    return convert("UTF-8", "CP932", cp932, characterLength);
}
std::string fromUtf8(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8, utf8::characterLength);
}

}  // namespace zelvo::platform::cp932
