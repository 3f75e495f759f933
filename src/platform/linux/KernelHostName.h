#pragma once
// The host name as the kernel publishes it in /proc/sys/kernel/hostname.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvo::platform {

// The node name uname() reports, from the file's text: the file adds one line break and nothing
// else, and a name may begin or end with a space. nullopt when the name is empty or does not fit a
// buffer of `bufferChars` bytes with its terminating zero.
std::optional<std::string> hostNameFromKernelText(std::string_view text, std::uint32_t bufferChars);

}  // namespace zelvo::platform
