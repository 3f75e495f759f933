#include "platform/linux/HostnameService.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QString>

namespace zelvo::platform {

bool isValidHostName(std::string_view name) {
    if (name.empty() || name.size() > 64)
        return false;
    std::size_t labelLength = 0;
    char previous = '.';
    for (const char c : name) {
        if (c == '.') {
            if (labelLength == 0 || previous == '-')
                return false;
            labelLength = 0;
        } else {
            const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (!letterOrDigit && !(c == '-' && labelLength > 0))
                return false;
            if (++labelLength > 63)
                return false;
        }
        previous = c;
    }
    return labelLength > 0 && previous != '-';
}

namespace {

class DBusHostnameService final : public HostnameService {
public:
    bool setStaticHostname(const std::string& name) override {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected())
            return false;
        QDBusInterface hostnamed(QStringLiteral("org.freedesktop.hostname1"),
                                 QStringLiteral("/org/freedesktop/hostname1"),
                                 QStringLiteral("org.freedesktop.hostname1"), bus);
        if (!hostnamed.isValid())
            return false;
        // polkit may show a password dialog; give the user time to answer it.
        hostnamed.setTimeout(kAuthorisationTimeoutMs);
        const QString hostName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        const QDBusReply<void> reply =
            hostnamed.call(QStringLiteral("SetStaticHostname"), hostName, /*interactive=*/true);
        if (!reply.isValid())
            return false;
        // The transient name follows so the running system agrees; the static one is what counts.
        hostnamed.call(QStringLiteral("SetHostname"), hostName, /*interactive=*/true);
        return true;
    }

private:
    static constexpr int kAuthorisationTimeoutMs = 120000;
};

}  // namespace

std::unique_ptr<HostnameService> makeDBusHostnameService() {
    return std::make_unique<DBusHostnameService>();
}

}  // namespace zelvo::platform
