#include "platform/linux/RegistrationFile.h"

#include <QSettings>

#include <algorithm>
#include <optional>

#include "platform/linux/IniText.h"

namespace zelvo::platform {

namespace {

const QString kType = QStringLiteral("type");
const QString kText = QStringLiteral("text");
const QString kData = QStringLiteral("data");

// The empty name (a key's default value) would be an empty group, whose entries QSettings reads
// as top-level ones; it is kept as a lone "%", which no percent-encoded name can be.
const QString kEmptyNameGroup = QStringLiteral("%");

// One group per value. The value name is percent-encoded, since QSettings reads '/' and '\' in a
// key as group separators.
QString groupOf(const std::string& name) {
    if (name.empty())
        return kEmptyNameGroup;
    return QString::fromLatin1(QByteArray::fromStdString(name).toPercentEncoding());
}

std::string nameOf(const QString& group) {
    if (group == kEmptyNameGroup)
        return {};
    return QByteArray::fromPercentEncoding(group.toLatin1()).toStdString();
}

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

}  // namespace

bool sameValueName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&lower](char x, char y) { return lower(x) == lower(y); });
}

RegistrationValues readRegistrationFile(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    RegistrationValues values;
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
        std::string name = nameOf(group);
        const bool seen = std::any_of(values.begin(), values.end(),
                                      [&name](const auto& entry) { return sameValueName(entry.first, name); });
        if (typeOk && !seen)
            values.emplace_back(std::move(name), std::move(value));
    }
    return values;
}

QByteArray registrationFileText(const RegistrationValues& values) {
    IniText ini;
    for (const auto& [name, value] : values) {
        ini.beginGroup(groupOf(name));
        ini.setText(kType, QString::number(value.type));
        if (const auto text = asText(value))
            ini.setText(kText, *text);
        else
            ini.setBytes(kData, QByteArray::fromStdString(value.data));
    }
    return ini.text();
}

}  // namespace zelvo::platform
