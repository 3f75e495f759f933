#include "format/NumberSeparators.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "platform/TextLocale.h"

namespace zelvo {

namespace {

NumberSeparators g_separators;

// Whether `text` is exactly one well-formed UTF-8 character: no stray continuation byte, no
// overlong form, no surrogate, nothing past U+10FFFF.
bool isOneUtf8Character(std::string_view text) {
    if (text.empty())
        return false;
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        length = 1;
        codePoint = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return false;
    }
    if (text.size() != length)
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0u) != 0x80u)
            return false;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint >= smallest && codePoint <= 0x10FFFF && !surrogate;
}

// The buffer holds one character and the terminator, as the separators are single characters.
constexpr std::uint32_t kSeparatorBufferChars = 2;

Separator readSeparator(const platform::TextLocale& text, platform::LocaleItem item, Separator fallback) {
    const std::optional<platform::CodePageText> setting = text.getLocaleInfo(item, kSeparatorBufferChars);
    if (!setting)
        return fallback;
    // The answer is in the platform's code page (Windows gives a no-break space as the byte 0xA0).
    // An answer of more than one character did not fit the buffer: a failed query, whatever the
    // backend returned.
    return Separator::fromUtf8(text.toUtf8(*setting)).value_or(fallback);
}

}  // namespace

std::optional<Separator> Separator::fromUtf8(std::string_view utf8) {
    Separator separator;
    if (utf8.empty())
        return separator;
    if (!isOneUtf8Character(utf8) || utf8.front() == '\0')
        return std::nullopt;
    std::copy(utf8.begin(), utf8.end(), separator.bytes_.begin());
    separator.size_ = utf8.size();
    return separator;
}

bool Separator::isWhole() const {
    return isNone() || isOneUtf8Character(bytes());
}

std::ostream& operator<<(std::ostream& out, const Separator& separator) {
    return separator.isNone() ? out << "none" : out << separator.bytes();
}

NumberSeparators numberSeparators() {
    return g_separators;
}

void setNumberSeparators(NumberSeparators separators) {
    const NumberSeparators defaults;
    g_separators.thousands = separators.thousands.isWhole() ? separators.thousands : defaults.thousands;
    g_separators.decimal = separators.decimal.isWhole() ? separators.decimal : defaults.decimal;
}

void LoadNumberSeparators(const platform::TextLocale& text) {
    const NumberSeparators defaults;
    NumberSeparators loaded;
    loaded.thousands = readSeparator(text, platform::LocaleItem::ThousandSeparator, defaults.thousands);
    loaded.decimal = readSeparator(text, platform::LocaleItem::DecimalSeparator, defaults.decimal);
    setNumberSeparators(loaded);
}

}  // namespace zelvo
