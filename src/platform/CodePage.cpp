#include "platform/CodePage.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace zelvo::platform::cp932 {

bool isLeadByte(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

// Bytes of input that stand for one character that could not be converted.
using SkipRule = std::size_t (*)(const unsigned char* in, std::size_t left);

std::size_t skipCp932(const unsigned char* in, std::size_t left) {
    if (left >= 2 && isLeadByte(in[0]) && in[1] >= 0x40 && in[1] != 0x7F && in[1] <= 0xFC)
        return 2;
    return 1;
}

std::size_t skipUtf8(const unsigned char* in, std::size_t left) {
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

}  // namespace

#ifdef _WIN32

// Windows' own tables differ from the rule above at the edges (an unassigned code becomes
// U+30FB, 0xFD-0xFF map to private-use characters, a character outside the BMP becomes two '?'),
// so the text is converted one character at a time and every failure is one '?', as elsewhere.

namespace {

bool isHalfWidthKatakana(unsigned char c) {
    return c >= 0xA1 && c <= 0xDF;
}

}  // namespace

std::string toUtf8(std::string_view cp932) {
    std::string out;
    const auto* in = reinterpret_cast<const unsigned char*>(cp932.data());
    for (std::size_t i = 0; i < cp932.size();) {
        const std::size_t n = skipCp932(in + i, cp932.size() - i);
        if (n == 1 && in[i] < 0x80) {
            out += static_cast<char>(in[i]);
        } else if (n == 2 || isHalfWidthKatakana(in[i])) {
            wchar_t wide[2];
            const int w = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(in + i),
                                              static_cast<int>(n), wide, 2);
            char utf8[8];
            const int u = w > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, w, utf8, sizeof utf8, nullptr, nullptr) : 0;
            out.append(u > 0 ? std::string_view(utf8, static_cast<std::size_t>(u)) : std::string_view("?"));
        } else {
            out += '?';
        }
        i += n;
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = skipUtf8(in + i, utf8.size() - i);
        if (n == 1 && in[i] < 0x80) {
            out += static_cast<char>(in[i]);
            i += n;
            continue;
        }
        wchar_t wide[2];
        const int w = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(in + i),
                                          static_cast<int>(n), wide, 2);
        char bytes[2];
        BOOL defaulted = FALSE;
        // CP932 has no character outside the BMP (w == 2, a surrogate pair).
        const int b = w == 1 ? WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, 1, bytes, 2, "?", &defaulted) : 0;
        out.append(b > 0 && !defaulted ? std::string_view(bytes, static_cast<std::size_t>(b)) : std::string_view("?"));
        i += n;
    }
    return out;
}

#else

namespace {

std::string convert(const char* to, const char* from, std::string_view in, SkipRule skip) {
    std::string out;
    if (in.empty())
        return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
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
    return convert("UTF-8", "CP932", cp932, skipCp932);
}
std::string fromUtf8(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8, skipUtf8);
}

#endif

std::size_t byteCount(std::string_view utf8) {
    return fromUtf8(utf8).size();
}

}  // namespace zelvo::platform::cp932

#ifdef _WIN32
namespace zelvo::platform::windows {

namespace {

std::wstring toWide(std::string_view in, UINT codePage) {
    if (in.empty())
        return {};
    const int inSize = static_cast<int>(in.size());
    const int n = MultiByteToWideChar(codePage, 0, in.data(), inSize, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, in.data(), inSize, wide.data(), n);
    return wide;
}

std::string fromWide(const std::wstring& wide, UINT codePage) {
    if (wide.empty())
        return {};
    const int inSize = static_cast<int>(wide.size());
    // The UTF-8 code page takes no default character (the call fails with one); the others get '?'.
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), inSize, nullptr, 0, fallback, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), inSize, out.data(), n, fallback, nullptr);
    return out;
}

// CP_ACP names the system's code page, which may itself be UTF-8.
UINT resolve(unsigned codePage) {
    return codePage == CP_ACP ? GetACP() : codePage;
}

}  // namespace

std::string convertCodePage(std::string_view text, unsigned from, unsigned to) {
    return fromWide(toWide(text, resolve(from)), resolve(to));
}

}  // namespace zelvo::platform::windows
#endif
