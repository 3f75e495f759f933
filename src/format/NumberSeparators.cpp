#include "format/NumberSeparators.h"

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace zelvo {

namespace {

NumberSeparators g_separators;

char acceptable(char c, char fallback) {
    return static_cast<unsigned char>(c) < 0x80 ? c : fallback;
}

// The buffer holds one character and the terminator, as the separators are single characters.
constexpr std::uint32_t kSeparatorBufferChars = 2;

char readSeparator(platform::Platform& platform, platform::LocaleItem item, char fallback) {
    const std::optional<std::string> setting = platform.getLocaleInfo(item, kSeparatorBufferChars);
    // A setting that does not fit the buffer is a failed query, whatever the backend returned.
    if (!setting || setting->size() >= kSeparatorBufferChars)
        return fallback;
    if (setting->empty())
        return '\0';
    return (*setting)[0];
}

}  // namespace

NumberSeparators numberSeparators() {
    return g_separators;
}

void setNumberSeparators(NumberSeparators separators) {
    const NumberSeparators defaults;
    g_separators.thousands = acceptable(separators.thousands, defaults.thousands);
    g_separators.decimal = acceptable(separators.decimal, defaults.decimal);
}

void LoadNumberSeparators(platform::Platform& platform) {
    const NumberSeparators defaults;
    NumberSeparators loaded;
    loaded.thousands = readSeparator(platform, platform::LocaleItem::ThousandSeparator, defaults.thousands);
    loaded.decimal = readSeparator(platform, platform::LocaleItem::DecimalSeparator, defaults.decimal);
    setNumberSeparators(loaded);
}

}  // namespace zelvo
