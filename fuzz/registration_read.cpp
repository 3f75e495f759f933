// The registration file as another program (or a damaged disk) may have left it: whatever it
// holds reads as values with distinct names, and those values, written back, read the same.

#include <set>

#include "RegistrationFiles.h"

using namespace zelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto values = fuzz::readBack(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    std::set<std::string> names;
    for (const auto& [name, value] : values)
        fuzz::require(names.insert(fuzz::foldedName(name)).second, "value names are distinct, ignoring case");
    fuzz::requireSameValues(values, fuzz::readBack(platform::registrationFileText(values)));
    return 0;
}
