// Host-name validation and the hand-over to the host-name service: a fake hostnamed on a private
// bus, never the system bus (tests never rename the machine).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/linux/HostnameService.h"
#include "support/FakeHostnamed.h"

namespace zelvo::platform {
namespace {

using test::FakeHostnamed;
using test::PrivateBus;

TEST(LinuxHostname, ValidatesHostNames) {
    const std::string label63(63, 'a');
    const struct {
        std::string name;
        bool valid;
    } cases[] = {
        {"workstation", true},
        {"PC-01", true},
        {"a", true},
        {"9", true},
        {"host.example.org", true},
        {label63, true},
        {label63 + ".a", false},                                    // 65 characters
        {std::string(32, 'a') + "." + std::string(31, 'b'), true},  // 64 characters
        {label63 + "a", false},
        {"", false},
        {"-leading", false},
        {"trailing-", false},
        {"a.-b", false},
        {"a-.b", false},
        {".leading-dot", false},
        {"trailing-dot.", false},
        {"double..dot", false},
        {"under_score", false},
        {"space name", false},
        {" leading-space", false},
        {"trailing-space ", false},
        {"semi;colon", false},
        {"new\nline", false},
        {std::string("nul\0byte", 8), false},
        {"山田のPC", false},
        {"caf\xc3\xa9", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isValidHostName(c.name), c.valid);
    }
}

class KeyCounter final : public QObject {
public:
    int keys = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            ++keys;
        return QObject::event(event);
    }
};

TEST(LinuxHostname, OnePromptForBothNamesAndABoundedWaitWhileTheLoopRuns) {
    const std::string setStatic = "SetStaticHostname new-host true";
    const std::string setTransient = "SetHostname new-host true";
    const struct {
        const char* name;
        FakeHostnamed::Answer answer;
        bool result;
        std::vector<std::string> calls;
    } rows[] = {
        {"answered", FakeHostnamed::Answer::Success, true, {setStatic, setTransient}},
        {"refused", FakeHostnamed::Answer::Refusal, false, {setStatic}},
        {"never answered", FakeHostnamed::Answer::Never, false, {setStatic}},
        // A reply after the bound is not waited for.
        {"answered too late", FakeHostnamed::Answer::Late, false, {setStatic}},
    };
    const std::chrono::milliseconds bound(500);
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    QDBusConnection server = bus.connect(QStringLiteral("zelvo-test-hostnamed"));
    ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.hostname1")));
    FakeHostnamed hostnamed;
    hostnamed.lateMs = static_cast<int>(bound.count()) * 4;
    ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/hostname1"), &hostnamed));
    const auto service = makeDBusHostnameService(bus.connect(QStringLiteral("zelvo-test-client")), bound);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        hostnamed.answer = row.answer;
        hostnamed.calls.clear();
        // Timer ticks stand for the window's repaints and Timer2: they go on during the wait.
        // A key pressed meanwhile is dropped, not replayed on the page after the wait.
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        KeyCounter page;
        QTimer::singleShot(20, [&page] { QCoreApplication::postEvent(&page, new QEvent(QEvent::KeyPress)); });
        EXPECT_EQ(service->setHostName("new-host"), row.result);
        ticker.stop();
        EXPECT_EQ(hostnamed.calls, row.calls);
        if (row.answer == FakeHostnamed::Answer::Never) {
            EXPECT_GE(ticks, 5);
            QCoreApplication::sendPostedEvents(&page);
            EXPECT_EQ(page.keys, 0);
        }
    }
    EXPECT_EQ(hostnamed.introspections, 0);
    server.unregisterObject(QStringLiteral("/org/freedesktop/hostname1"));
}

}  // namespace
}  // namespace zelvo::platform
