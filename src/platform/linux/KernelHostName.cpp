#include "platform/linux/KernelHostName.h"

namespace zelvo::platform {

std::optional<std::string> hostNameFromKernelText(std::string_view text, std::uint32_t bufferChars) {
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    if (text.empty() || text.size() >= bufferChars)
        return std::nullopt;
    return std::string(text);
}

}  // namespace zelvo::platform
