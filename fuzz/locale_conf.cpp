// A locale.conf (systemd's, Debian's /etc/default/locale) as the locale name numbers follow.

#include "FuzzInput.h"
#include "platform/linux/UserLocale.h"

using namespace zelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto name = platform::numericLocaleOfLocaleConf(text)) {
        fuzz::require(!name->empty(), "a locale name is not empty");
        fuzz::require(name->find('\n') == std::string::npos, "a locale name is one line");
        fuzz::require(text.find(*name) != std::string_view::npos, "the name is written in the file");
    }
    return 0;
}
