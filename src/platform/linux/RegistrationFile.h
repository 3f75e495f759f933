#pragma once
// The registration file's format: one ini group per registry value, read by QSettings and written
// as one piece of text (IniText), so that what is written reads back as the same values.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RegistryTree.h"

namespace zelvo::platform {

using RegistrationValues = std::vector<std::pair<std::string, RegValue>>;

// Whether two registry value names are the same one: the registry ignores ASCII case.
bool sameValueName(std::string_view a, std::string_view b);

// The values the ini file at `path` holds, in the file's (sorted) order; a group without a
// numeric type is left out, and of groups whose names differ only in case (which this program
// never writes) the first is kept. A missing or unreadable file holds none.
RegistrationValues readRegistrationFile(const QString& path);

// The text of a file that reads back as `values` (names distinct). A string value is kept as
// readable text when it is valid UTF-8 ending in its one terminating zero; anything else as raw
// bytes.
QByteArray registrationFileText(const RegistrationValues& values);

}  // namespace zelvo::platform
