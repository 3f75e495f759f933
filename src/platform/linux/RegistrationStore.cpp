#include "platform/linux/RegistrationStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/RegistryKeys.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/ProcessLock.h"
#include "platform/linux/RegistrationFile.h"

namespace zelvo::platform {

namespace {

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

}  // namespace

RegistrationStore::RegistrationStore(const QString& directory, std::string defaultOwner)
    : filePath_(QDir(directory).filePath(QStringLiteral("registration.ini"))), defaultOwner_(std::move(defaultOwner)) {}

std::vector<std::pair<std::string, RegValue>> RegistrationStore::load() {
    auto values = storedValues();
    auto has = [&values](std::string_view name) {
        return std::any_of(values.begin(), values.end(),
                           [name](const auto& entry) { return sameValueName(entry.first, name); });
    };
    if (!has(regkeys::kRegisteredOwner))
        values.emplace_back(std::string(regkeys::kRegisteredOwner), stringValue(defaultOwner_));
    if (!has(regkeys::kRegisteredOrganization))
        values.emplace_back(std::string(regkeys::kRegisteredOrganization), stringValue(""));
    return values;
}

std::vector<std::pair<std::string, RegValue>> RegistrationStore::storedValues() const {
    // Reading takes no lock: the file is only ever replaced whole.
    return readRegistrationFile(filePath_);
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
    for (const auto& written : values) {
        // Registry names ignore case: a write replaces the stored value whatever case it was kept in.
        stored.erase(
            std::remove_if(stored.begin(), stored.end(),
                           [&written](const auto& entry) { return sameValueName(entry.first, written.first); }),
            stored.end());
        stored.push_back(written);
    }
    return replaceFile(filePath_, registrationFileText(stored));
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
