#pragma once
// The BIOS page: identification lines from the BIOS ROM (9x family) or from the copies the
// system keeps in the registry (NT family).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Memory.h"
#include "platform/Registry.h"
#include "platform/RegistryWrapper.h"
#include "platform/SystemIdentity.h"
#include "platform/TextLocale.h"

namespace zelvo {

// The heading the page's heading box shows once the page is filled.
inline constexpr const char* kBiosHeading = "           メインボード　バイオス情報";

// What filling the BIOS page changes. Members that are nullopt leave their control as it is.
struct BiosPage {
    // Whether the page's tab is shown; nullopt when the version query fails.
    std::optional<bool> tabVisible;
    // The additions to the memo `Memo8`, in order, as UTF-8. The memo adds each one followed by a
    // line break; an addition may hold line breaks of its own (the version pieces come as one
    // addition, each piece followed by "\r\n").
    std::vector<std::string> memoAdditions;
    // The heading box `Edit1`'s text, when it is set.
    std::optional<std::string> heading;
};

// The ROM addresses of the 9x family's identification strings, in the order they are shown.
inline constexpr std::uint32_t kBiosRomAddresses[] = {0xFE061, 0xFE091, 0xFFFF5, 0xFEC71};

// Fills the BIOS page.
// - 9x family: an empty line, then the four ROM strings one per line. A string the system cannot
//   read gives an empty line, so each line keeps its place.
// - NT family: an empty line, the version pieces, the date, the driver description and "Ver "
//   with the driver version, read through the registry wrapper. A registry error ends the
//   reading without a message; the lines added before it stay and the heading is still set.
//   The keys are opened for reading only: opening them with all access fails for an ordinary
//   user, who would see nothing but empty lines.
// - Any other family: nothing is added and the tab is hidden, as there is nothing to show.
BiosPage FillBiosPage(platform::SystemIdentity& identity, platform::Memory& memory, platform::Registry& registry,
                      const platform::TextLocale& text);

// The multi-string splitter: reads at most 100 bytes of value `valueName` of the wrapper's
// current key (a missing value, or no open key, reads as zeros) and splits the first 99 of them
// into pieces ended by any byte below 0x20. Empty pieces are skipped and a piece still open after
// the 99th byte is dropped. Pieces are in the platform's code page. Throws ERegistryException for
// a value longer than 100 bytes or of a string or 32-bit number type.
std::vector<std::string> SplitMultiString(platform::RegistryWrapper& registry, const std::string& valueName);

// The text of a piece list as the memo receives it: each piece followed by "\r\n", the last one
// too; an empty list gives empty text.
std::string PieceListText(const std::vector<std::string>& pieces);

}  // namespace zelvo
