#pragma once
// The machine's text: its code page and the thread locale's separators. Texts that cross the
// platform calls are CodePageText; `toUtf8`/`fromUtf8` are the way to and from UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePageText.h"

namespace zelvo::platform {

enum class LocaleItem { ThousandSeparator, DecimalSeparator };

class TextLocale {
public:
    virtual ~TextLocale() = default;

    // The locale item of the thread locale if it fits `bufferChars` characters including the
    // terminating zero; nullopt otherwise. An empty setting gives an empty string.
    virtual std::optional<CodePageText> getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const = 0;
    // Resets the thread locale to the user's default as it stands now; it cannot fail.
    virtual void resetThreadLocale() = 0;
    // Code-page bytes as UTF-8; it cannot fail: what cannot be converted becomes a replacement.
    virtual std::string toUtf8(const CodePageText& text) const = 0;
    // UTF-8 as code-page bytes; it cannot fail: a character the code page lacks becomes a replacement.
    virtual CodePageText fromUtf8(std::string_view utf8) const = 0;
    // Whether `byte` starts a double-byte character in the code page (never on UTF-8).
    virtual bool isLeadByte(std::uint8_t byte) const = 0;
    // Whether the code page has double-byte characters at all.
    virtual bool hasLeadBytes() const = 0;
};

}  // namespace zelvo::platform
