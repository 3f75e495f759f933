// The user page on the Linux backend: the whole host name is shown and can be registered again,
// within the kernel's limit. The host-name service is a fake: tests never rename the machine.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/LinuxPlatform.h"
#include "support/LinuxFixtureMachine.h"
#include "ui/TEdit.h"
#include "ui/TForm1.h"
#include "ui/TMemo.h"

namespace zelvo {
namespace {

using namespace platform;

// A machine whose only recorded file is the kernel's host name.
struct LinuxWindow {
    explicit LinuxWindow(const std::string& hostName) {
        const QString kernel = root.filePath(QStringLiteral("proc/sys/kernel"));
        QDir().mkpath(kernel);
        QFile file(kernel + QStringLiteral("/hostname"));
        if (file.open(QIODevice::WriteOnly))
            file.write((hostName + "\n").c_str());
        // The program file and the user's cache folder sit in the temporary tree: start-up makes
        // TempData in the cache folder, never beside the program.
        QDir().mkpath(root.filePath(QStringLiteral("proc/self")));
        QDir().mkpath(root.filePath(QStringLiteral("bin")));
        QFile::link(root.filePath(QStringLiteral("bin/zelvo")), root.filePath(QStringLiteral("proc/self/exe")));
        LinuxPlatformOptions options;
        const std::string base = root.path().toStdString();
        options.roots = {base + "/proc", base + "/sys", base + "/etc", base + "/dev", base + "/run/udev/data", base};
        options.registrationDirectory = root.filePath(QStringLiteral("config"));
        options.cacheHome = root.filePath(QStringLiteral("cache")).toStdString();
        options.defaultOwner = "Test Owner";
        options.hostnameService = service;
        options.xrandr = std::make_shared<test::FakeXrandr>(std::nullopt);
        options.systemLocale = [] { return QLocale::c(); };
        platform = std::make_unique<LinuxPlatform>(options);
        form = std::make_unique<TForm1>(*platform);
        form->Timer2->stop();
        form->showErrorBox = [this](const QString& message) { errors.append(message); };
        form->showRefusalBox = [this](const QString& message) { refusals.append(message); };
        form->screenSize = [] { return QSize(1024, 768); };
    }

    QTemporaryDir root;
    std::shared_ptr<test::FakeHostnameService> service = std::make_shared<test::FakeHostnameService>();
    std::unique_ptr<LinuxPlatform> platform;
    std::unique_ptr<TForm1> form;
    QStringList errors;
    QStringList refusals;
};

TEST(LinuxRegistration, TheWholeHostNameIsShownAndRegisteredWithinTheKernelsLimit) {
    const std::string label63(63, 'h');
    const std::string dotted64 = std::string(31, 'a') + "." + std::string(32, 'b');
    const std::string dotted65 = std::string(32, 'a') + "." + std::string(32, 'b');
    const struct {
        const char* name;
        std::string hostName;  // what the kernel reports at start
        std::string typed;     // the new name registered; empty: left as it was
        bool accepted;
    } rows[] = {
        {"19 bytes unchanged", "alice-ThinkPad-T480", "", true},
        {"63 bytes unchanged", label63, "", true},
        {"16 bytes unchanged", "ip-172-31-22-157", "", true},
        {"64 bytes, the kernel's limit", "workstation", dotted64, true},
        {"65 bytes", "workstation", dotted65, false},
        {"a 64-byte label", "workstation", label63 + "h", false},
        {"not a host name", "workstation", "bad name", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LinuxWindow window(row.hostName);
        TForm1& form = *window.form;
        form.FormCreate();
        EXPECT_EQ(form.NowPCName->text().toStdString(), row.hostName);
        EXPECT_EQ(form.NewPCName->text().toStdString(), row.hostName);

        form.fire(&TForm1::ChangeClick);
        if (!row.typed.empty())
            form.NewPCName->setText(QString::fromStdString(row.typed));
        const std::string registered = row.typed.empty() ? row.hostName : row.typed;
        form.fire(&TForm1::TourokuClick);
        EXPECT_EQ(window.refusals.size(), row.accepted ? 0 : 1);
        EXPECT_EQ(window.service->received,
                  row.accepted ? std::vector<std::string>{registered} : std::vector<std::string>{});
        EXPECT_EQ(form.NowPCName->text().toStdString(), row.hostName);
        EXPECT_TRUE(window.errors.isEmpty());
        EXPECT_TRUE(QFileInfo(window.root.filePath(QStringLiteral("cache/zelvo/TempData"))).isDir());
        EXPECT_FALSE(QFileInfo(window.root.filePath(QStringLiteral("bin/TempData"))).exists());
    }
}

}  // namespace
}  // namespace zelvo
