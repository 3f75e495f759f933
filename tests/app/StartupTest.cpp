// The toolkit's own texts in the window are Japanese.

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>
#include <QWidget>

#include <memory>

#include "app/Startup.h"
#include "format/NumberSeparators.h"
#include "platform/sim/SimPlatform.h"
#include "ui/TForm1.h"

namespace zelvo {
namespace {

QStringList standardEditMenu() {
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);  // without the shortcut
    return texts;
}

TEST(Startup, TheStandardEditMenuIsJapaneseFromTheFirstMenuOn) {
    QCoreApplication& app = *QCoreApplication::instance();
    InstallToolkitTranslationsOnFirstMenu(app);
    EXPECT_TRUE(standardEditMenu().contains(QStringLiteral("&Undo")));

    QWidget widget;
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(1, 1));
    QCoreApplication::sendEvent(&widget, &request);
    const QStringList texts = standardEditMenu();
    auto* translator = app.findChild<QTranslator*>();
    ASSERT_NE(translator, nullptr) << "Qt's Japanese catalogue (qt6-translations-l10n) is not installed";
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_TRUE(texts.contains(QStringLiteral("元に戻す(&U)"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("すべてを選択"))) << texts.join(QLatin1Char('|')).toStdString();
}

// Keeps the services the application hands the backend.
class DesktopRecorder final : public platform::SimPlatform {
public:
    using SimPlatform::SimPlatform;
    void connectDesktop(platform::DesktopServices desktop) override { services = std::move(desktop); }
    platform::DesktopServices services;
};

TEST(Startup, ASettingsChangeTheBackendTellsReachesTheWindow) {
    platform::SimMachine machine = platform::makeNtMachine();
    DesktopRecorder platform(machine);
    TForm1 form(platform);
    ConnectDesktop(platform.desktop());
    ASSERT_TRUE(platform.services.settingsChanged);
    machine.thousandSeparator = ".";
    machine.decimalSeparator = ",";
    platform.services.settingsChanged();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(machine.threadLocaleResets, 1);
    EXPECT_EQ(numberSeparators().thousands, '.');
    EXPECT_EQ(numberSeparators().decimal, ',');
    setNumberSeparators({',', '.'});
}

}  // namespace
}  // namespace zelvo
