// The registration file as the program writes it: any values (names distinct ignoring case, as
// the store keeps them) read back with their names, types and bytes. Parts alternate a name and a
// value, whose first byte picks its kind: 0 a string with its terminating zero, 1 an expandable
// string with its zero, 2 binary, 3 a string as it stands, any other the type of that number.

#include <set>

#include "RegistrationFiles.h"

using namespace zelvo;
using namespace zelvo::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::parts<8>(data, size);
    RegistrationValues values;
    std::set<std::string> names;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
        const std::string name(input[i]);
        const std::string_view part = input[i + 1];
        if (part.empty() || !names.insert(fuzz::foldedName(name)).second)
            continue;
        RegValue value;
        value.data = std::string(part.substr(1));
        switch (static_cast<unsigned char>(part[0])) {
            case 0:
                value.type = kRegSz;
                value.data += '\0';
                break;
            case 1:
                value.type = kRegExpandSz;
                value.data += '\0';
                break;
            case 2:
                value.type = kRegBinary;
                break;
            case 3:
                value.type = kRegSz;
                break;
            default:
                value.type = static_cast<unsigned char>(part[0]);
                break;
        }
        values.emplace_back(name, std::move(value));
    }
    fuzz::requireSameValues(values, fuzz::readBack(registrationFileText(values)));
    return 0;
}
