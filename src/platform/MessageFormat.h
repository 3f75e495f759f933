#pragma once
// The program's message patterns, as its string resources hold them.

#include <string>

namespace zelvo {

// `pattern` with its first %s or %d placeholder replaced by `arg`; any later one stays as it is.
std::string formatMessage(const std::string& pattern, const std::string& arg);

}  // namespace zelvo
