#include "platform/MessageFormat.h"

namespace zelvo {

std::string formatMessage(const std::string& pattern, const std::string& arg) {
    std::string out;
    out.reserve(pattern.size() + arg.size());
    bool used = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (!used && pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            out += arg;
            used = true;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace zelvo
