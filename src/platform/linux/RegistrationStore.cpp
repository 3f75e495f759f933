#include "platform/linux/RegistrationStore.h"

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

#include "platform/RegistryKeys.h"
#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

namespace {

const QString kType = QStringLiteral("type");
const QString kText = QStringLiteral("text");
const QString kData = QStringLiteral("data");

// One group per value. The value name is percent-encoded, since QSettings reads '/' and '\' in a
// key as group separators.
QString groupOf(const std::string& name) {
    return QString::fromLatin1(QByteArray::fromStdString(name).toPercentEncoding());
}

std::string nameOf(const QString& group) {
    return QByteArray::fromPercentEncoding(group.toLatin1()).toStdString();
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// A string value is kept as readable text when it is valid UTF-8 ending in its one terminating
// zero; anything else as raw bytes.
std::optional<QString> asText(const RegValue& value) {
    if (value.type != kRegSz && value.type != kRegExpandSz)
        return std::nullopt;
    const std::string& data = value.data;
    if (data.empty() || data.back() != '\0' || data.find('\0') != data.size() - 1)
        return std::nullopt;
    const QString text = QString::fromUtf8(data.data(), static_cast<qsizetype>(data.size() - 1));
    if (text.toUtf8().toStdString() != data.substr(0, data.size() - 1))
        return std::nullopt;
    return text;
}

RegValue stringValue(std::string_view text) {
    RegValue value{kRegSz, std::string(text)};
    value.data += '\0';
    return value;
}

}  // namespace

RegistrationStore::RegistrationStore(QString directory, std::string defaultOwner)
    : filePath_(QDir(directory).filePath(QStringLiteral("registration.ini"))), defaultOwner_(std::move(defaultOwner)) {}

std::vector<std::pair<std::string, RegValue>> RegistrationStore::load() {
    // A fresh QSettings re-reads the file when it changed on disk since it was last read.
    QSettings settings(filePath_, QSettings::IniFormat);
    std::vector<std::pair<std::string, RegValue>> values;
    for (const QString& group : settings.childGroups()) {
        settings.beginGroup(group);
        bool typeOk = false;
        const uint type = settings.value(kType).toUInt(&typeOk);
        RegValue value;
        value.type = typeOk ? type : kRegNone;
        if (settings.contains(kText)) {
            value.data = settings.value(kText).toString().toUtf8().toStdString();
            value.data += '\0';
        } else {
            value.data = settings.value(kData).toByteArray().toStdString();
        }
        settings.endGroup();
        if (typeOk)
            values.emplace_back(nameOf(group), std::move(value));
    }
    auto has = [&values](std::string_view name) {
        return std::any_of(values.begin(), values.end(),
                           [name](const auto& entry) { return sameName(entry.first, name); });
    };
    if (!has(regkeys::kRegisteredOwner))
        values.emplace_back(std::string(regkeys::kRegisteredOwner), stringValue(defaultOwner_));
    if (!has(regkeys::kRegisteredOrganization))
        values.emplace_back(std::string(regkeys::kRegisteredOrganization), stringValue(""));
    return values;
}

bool RegistrationStore::store(const std::string& name, const RegValue& value) {
    QSettings settings(filePath_, QSettings::IniFormat);
    // Registry names ignore case: a write replaces the stored value whatever case it was kept in.
    for (const QString& group : settings.childGroups())
        if (sameName(nameOf(group), name))
            settings.remove(group);
    settings.beginGroup(groupOf(name));
    settings.setValue(kType, value.type);
    if (const auto text = asText(value))
        settings.setValue(kText, *text);
    else
        settings.setValue(kData, QByteArray::fromStdString(value.data));
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString defaultRegistrationDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/zelvo");
}

std::string ownerFromAccount(std::string_view gecos, std::string_view login) {
    const std::string_view fullName = linuxfs::trim(gecos.substr(0, gecos.find(',')));
    return std::string(fullName.empty() ? login : fullName);
}

std::string currentAccountOwner() {
    passwd entry{};
    passwd* result = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || result == nullptr)
        return {};
    return ownerFromAccount(entry.pw_gecos ? entry.pw_gecos : "", entry.pw_name ? entry.pw_name : "");
}

}  // namespace zelvo::platform
