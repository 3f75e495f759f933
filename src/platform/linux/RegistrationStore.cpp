#include "platform/linux/RegistrationStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/RegistryKeys.h"
#include "platform/linux/IniText.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/ProcessLock.h"

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

// Another running copy writes in a few milliseconds; one that holds the lock longer is stuck.
constexpr std::chrono::milliseconds kLockPatience{2000};

bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Replaces the file at `path` with `contents` in one step: written beside it under a fixed name
// (only the lock holder writes, and a name a killed writer left is simply overwritten), flushed to
// the disk, then renamed over it.
bool replaceFile(const QString& path, const QByteArray& contents) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray staging = target + ".new";
    const int fd = ::open(staging.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(staging.constData(), target.constData()) != 0) {
        ::unlink(staging.constData());
        return false;
    }
    // The rename itself reaches the disk with the directory.
    const QByteArray directory = QFile::encodeName(QFileInfo(path).absolutePath());
    if (const int dirFd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

// The ini text QSettings reads back as `values`.
QByteArray iniTextOf(const std::vector<std::pair<std::string, RegValue>>& values) {
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

}  // namespace

RegistrationStore::RegistrationStore(QString directory, std::string defaultOwner)
    : filePath_(QDir(directory).filePath(QStringLiteral("registration.ini"))), defaultOwner_(std::move(defaultOwner)) {}

std::vector<std::pair<std::string, RegValue>> RegistrationStore::load() {
    auto values = storedValues();
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

std::vector<std::pair<std::string, RegValue>> RegistrationStore::storedValues() const {
    // A fresh QSettings re-reads the file; reading takes no lock, and the file is only ever
    // replaced whole.
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
    return values;
}

bool RegistrationStore::store(const std::string& name, const RegValue& value) {
    return storeAll({{name, value}});
}

bool RegistrationStore::storeAll(const std::vector<std::pair<std::string, RegValue>>& values) {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return false;
    const ProcessLock lock(QFile::encodeName(filePath_).toStdString() + ".lock", kLockPatience);
    if (!lock.held())
        return false;
    auto stored = storedValues();
    for (const auto& [name, value] : values) {
        // Registry names ignore case: a write replaces the stored value whatever case it was kept in.
        stored.erase(std::remove_if(stored.begin(), stored.end(),
                                    [&name](const auto& entry) { return sameName(entry.first, name); }),
                     stored.end());
        stored.emplace_back(name, value);
    }
    return replaceFile(filePath_, iniTextOf(stored));
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
