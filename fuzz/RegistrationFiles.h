#pragma once
// The registration file targets' scratch files and checks: each text is written to a file of its
// own (QSettings keeps what it read of a file by name and time stamp) and read back as the store
// reads it.

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <memory>

#include "FuzzInput.h"
#include "platform/linux/RegistrationFile.h"

namespace zelvo::fuzz {

// Registry value names are compared ignoring ASCII case.
inline std::string foldedName(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

inline platform::RegistrationValues readBack(const QByteArray& text) {
    static const auto directory = std::make_unique<QTemporaryDir>();
    static unsigned long serial = 0;
    const QString path = QDir(directory->path()).filePath(QStringLiteral("r%1.ini").arg(++serial));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(text) == text.size(), "the scratch file is written");
    file.close();
    auto values = platform::readRegistrationFile(path);
    QFile::remove(path);
    return values;
}

// The values sorted by name, for comparing sets of values whatever their order in the file.
inline platform::RegistrationValues byName(platform::RegistrationValues values) {
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return values;
}

inline void requireSameValues(const platform::RegistrationValues& written, const platform::RegistrationValues& read) {
    const auto a = byName(written);
    const auto b = byName(read);
    require(a.size() == b.size(), "every value written is read back, and nothing else");
    for (std::size_t i = 0; i < a.size(); ++i) {
        require(a[i].first == b[i].first, "a value reads back under its name");
        require(a[i].second.type == b[i].second.type, "a value reads back with its type");
        require(a[i].second.data == b[i].second.data, "a value reads back with its bytes");
    }
}

}  // namespace zelvo::fuzz
