#pragma once
// Tests compare a platform's code-page text with the bytes they expect, written out as a string
// literal or made with cp932::fromUtf8, and print it when a check fails. The program itself has no
// such comparison: there, code-page text meets UTF-8 only through TextLocale.

#include <ostream>
#include <string_view>

#include "platform/CodePageText.h"

namespace zelvo::platform {

inline bool operator==(const CodePageText& text, std::string_view bytes) {
    return text.bytes() == bytes;
}

inline void PrintTo(const CodePageText& text, std::ostream* out) {
    *out << "code page \"" << text.bytes() << '"';
}

}  // namespace zelvo::platform
