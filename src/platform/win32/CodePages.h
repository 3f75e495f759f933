#pragma once
// The Windows code-page conversions: the system's own tables (MultiByteToWideChar and
// WideCharToMultiByte) behind the CP932 conversions and the ANSI texts the backend hands on.

#include <string>
#include <string_view>

namespace zelvo::platform::windows {

// Text in code page `from` converted to code page `to`, both Windows code-page numbers (CP_ACP:
// the system's ANSI code page). Characters `to` cannot hold become '?'; bytes that are not valid
// in `from` become the replacement character first.
std::string convertCodePage(std::string_view text, unsigned from, unsigned to);

}  // namespace zelvo::platform::windows
