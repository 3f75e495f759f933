#include "platform/linux/HostnameService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <optional>

namespace zelvo::platform {

bool isValidHostName(std::string_view name) {
    if (name.empty() || name.size() > kMaxHostNameBytes)
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

const QString kService = QStringLiteral("org.freedesktop.hostname1");
const QString kPath = QStringLiteral("/org/freedesktop/hostname1");
const QString kInterface = QStringLiteral("org.freedesktop.hostname1");

// What is left of `deadline` in whole milliseconds, at least 1.
int remainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, INT_MAX));
}

// Drops the user's input while installed, as a modal box does for the windows behind it. Holding
// it back instead would replay clicks on the page once the wait ends.
class InputDropper final : public QObject {
public:
    InputDropper() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputDropper() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::ContextMenu:
            case QEvent::Shortcut:
                return true;
            default:
                return QObject::eventFilter(watched, event);
        }
    }
};

// Waits for `call` the way a modal box waits for its button: the event loop goes on (repaints,
// timers) while the user's input is dropped. False when the call fails or `deadline` comes first.
bool awaitReply(const QDBusPendingCall& call, const QDeadlineTimer& deadline) {
    QDBusPendingCallWatcher watcher(call);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (!watcher.isFinished() && !deadline.hasExpired()) {
        bound.start(remainingMs(deadline));
        const InputDropper dropper;
        loop.exec();
    }
    return watcher.isFinished() && !watcher.isError();
}

class DBusHostnameService final : public HostnameService {
public:
    DBusHostnameService(std::optional<QDBusConnection> bus, std::chrono::milliseconds bound)
        : bus_(std::move(bus)), bound_(bound) {}

    bool setHostName(const std::string& name) override {
        const QDeadlineTimer deadline(bound_);
        // Connecting to the system bus is local and quick; it is done at the first change only.
        QDBusConnection bus = bus_ ? *bus_ : QDBusConnection::systemBus();
        if (!bus.isConnected())
            return false;
        const QString hostName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        // The static name first: its polkit action implies the transient name's, so the one
        // password prompt (kept a few minutes by auth_admin_keep) authorises both.
        if (!awaitReply(call(bus, QStringLiteral("SetStaticHostname"), hostName, deadline), deadline))
            return false;
        // The running system follows; the static name, which takes effect at the next start, is
        // what the page reports.
        awaitReply(call(bus, QStringLiteral("SetHostname"), hostName, deadline), deadline);
        return true;
    }

private:
    static QDBusPendingCall call(QDBusConnection& bus, const QString& method, const QString& hostName,
                                 const QDeadlineTimer& deadline) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        message << hostName << /*interactive=*/true;
        return bus.asyncCall(message, remainingMs(deadline));
    }

    std::optional<QDBusConnection> bus_;  // unset: the system bus
    std::chrono::milliseconds bound_;
};

}  // namespace

std::unique_ptr<HostnameService> makeDBusHostnameService() {
    return std::make_unique<DBusHostnameService>(std::nullopt, kHostNameChangeBound);
}

std::unique_ptr<HostnameService> makeDBusHostnameService(const QDBusConnection& bus, std::chrono::milliseconds bound) {
    return std::make_unique<DBusHostnameService>(bus, bound);
}

}  // namespace zelvo::platform
