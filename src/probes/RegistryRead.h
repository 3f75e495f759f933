#pragma once
// Reading one registry value as text with the registry calls directly, the way the processor and
// registration fields are read.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/CodePageText.h"
#include "platform/Registry.h"

namespace zelvo {

// Opens `keyPath` below HKEY_LOCAL_MACHINE for reading, queries `valueName` whatever its stored
// type, and returns the bytes up to the first zero byte; empty text when the key or the value
// cannot be read. With a `bufferSize` the value must fit that many bytes or reads as empty text;
// without one the whole value is read. Every key opened is closed.
platform::CodePageText ReadValueText(platform::Registry& registry, const std::string& keyPath,
                                     const std::string& valueName, std::optional<std::uint32_t> bufferSize);

}  // namespace zelvo
