// The toolkit's own texts in the window are Japanese.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>

#include <memory>

#include "app/Startup.h"

namespace zelvo {
namespace {

TEST(Startup, TheStandardEditMenuIsJapanese) {
    QTranslator* translator = InstallToolkitTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Japanese catalogue (qt6-translations-l10n) is not installed";
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);  // without the shortcut
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_TRUE(texts.contains(QStringLiteral("元に戻す(&U)"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("すべてを選択"))) << texts.join(QLatin1Char('|')).toStdString();
}

}  // namespace
}  // namespace zelvo
