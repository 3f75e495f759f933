#pragma once
// A message bus of a test's own and a stand-in for systemd-hostnamed on it, so host-name changes
// are tried without the system bus (tests never rename the machine).

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <string>
#include <vector>

namespace zelvo::test {

// A message bus listening in a temporary directory (dbus-daemon); stopped with the object.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                       QStringLiteral("--address=unix:dir=") + directory_.path()});
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead())
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : names_)
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    const QString& address() const { return address_; }
    QDBusConnection connect(const QString& name) {
        names_.append(name);
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QTemporaryDir directory_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

// Stands in for systemd-hostnamed: notes every call and answers it as told.
class FakeHostnamed final : public QDBusVirtualObject {
public:
    enum class Answer { Success, Refusal, Never, Late };
    Answer answer = Answer::Success;
    int lateMs = 0;
    std::vector<std::string> calls;  // "Method name interactive"
    mutable int introspections = 0;

    QString introspect(const QString&) const override {
        ++introspections;
        return {};
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        QStringList call{message.member()};
        for (const QVariant& argument : message.arguments())
            call.append(argument.toString());
        calls.push_back(call.join(u' ').toStdString());
        const QDBusMessage reply =
            answer == Answer::Refusal
                ? message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                                           QStringLiteral("Access denied"))
                : message.createReply();
        if (answer == Answer::Success || answer == Answer::Refusal)
            connection.send(reply);
        else if (answer == Answer::Late)
            QTimer::singleShot(lateMs, this, [connection, reply] { QDBusConnection(connection).send(reply); });
        return true;  // Never: the call stays unanswered
    }
};

}  // namespace zelvo::test
