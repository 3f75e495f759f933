#pragma once
// One text as a JSON string literal. Whatever the bytes, the result is valid JSON and pure ASCII:
// - the bytes are read as UTF-8; every byte that is not part of a well-formed UTF-8 sequence
//   (RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence)
//   stands for U+FFFD, one per byte;
// - '"' and '\' are escaped, as are the controls U+0000–U+001F (\b \f \n \r \t where JSON has a
//   short form, \u00XX otherwise) and U+007F;
// - every other character above U+007E is written as \uXXXX (a surrogate pair above U+FFFF).
// Parsed back, the literal gives the input's characters with U+FFFD in place of each bad byte.

#include <string>
#include <string_view>

namespace zelvo {

std::string JsonString(std::string_view bytes);

}  // namespace zelvo
