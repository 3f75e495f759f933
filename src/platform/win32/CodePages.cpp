#include "platform/win32/CodePages.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/CharacterLengths.h"
#include "platform/CodePage.h"

namespace zelvo::platform::cp932 {

// Windows' own tables differ from the rule of characterLength at the edges (an unassigned code
// becomes U+30FB, 0xFD-0xFF map to private-use characters, a character outside the BMP becomes two
// '?'), so the text is converted one character at a time and every failure is one '?', as elsewhere.

namespace {

bool isHalfWidthKatakana(unsigned char c) {
    return c >= 0xA1 && c <= 0xDF;
}

}  // namespace

std::string toUtf8(std::string_view cp932) {
    std::string out;
    const auto* in = reinterpret_cast<const unsigned char*>(cp932.data());
    for (std::size_t i = 0; i < cp932.size();) {
        const std::size_t n = characterLength(in + i, cp932.size() - i);
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
        const std::size_t n = utf8::characterLength(in + i, utf8.size() - i);
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

}  // namespace zelvo::platform::cp932

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
