#include "report/JsonString.h"

#include <cstdint>

namespace zelvo {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the well-formed UTF-8 sequence at `i`, with its code point in `cp`; 0 when there is none.
std::size_t DecodeAt(std::string_view s, std::size_t i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    const std::uint8_t b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0F;
        if (b0 == 0xE0)
            low = 0xA0;  // overlong below
        if (b0 == 0xED)
            high = 0x9F;  // surrogates above
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07;
        if (b0 == 0xF0)
            low = 0x90;
        if (b0 == 0xF4)
            high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t b = byte(i + k);
        const std::uint8_t min = k == 1 ? low : 0x80;
        const std::uint8_t max = k == 1 ? high : 0xBF;
        if (b < min || b > max)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return length;
}

void AppendEscape(std::string& out, std::uint32_t unit) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(unit >> shift) & 0xF];
}

}  // namespace

std::string JsonString(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 2);
    out += '"';
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        std::size_t length = DecodeAt(bytes, i, cp);
        if (length == 0) {
            cp = kReplacement;
            length = 1;
        }
        i += length;
        switch (cp) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (cp >= 0x20 && cp < 0x7F) {
                    out += char(cp);
                } else if (cp < 0x10000) {
                    AppendEscape(out, std::uint32_t(cp));
                } else {
                    const std::uint32_t v = std::uint32_t(cp) - 0x10000;
                    AppendEscape(out, 0xD800 + (v >> 10));
                    AppendEscape(out, 0xDC00 + (v & 0x3FF));
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace zelvo
