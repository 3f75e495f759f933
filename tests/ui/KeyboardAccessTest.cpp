// The window without the mouse and without sight: the Tab order of each page, the oval buttons
// and the window keys, the focus frame, and what Qt's accessibility tells a screen reader.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "SimWindow.h"
#include "format/NumberSeparators.h"
#include "ui/FocusFrame.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"

namespace zelvo {
namespace {

using platform::makeNtMachine;
using platform::makeWin9xMachine;
using test::SimWindow;

const QString kMeasuring = QStringLiteral(" 只今・・・計測中！");

class KeyboardAccessTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberSeparators({',', '.'}); }

    // The window on the simulated 9x machine (which shows the load gauge), shown and active.
    TForm1& start() {
        window = std::make_unique<SimWindow>(makeWin9xMachine());
        TForm1& form = *window->form;
        form.FormCreate();
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }

    std::unique_ptr<SimWindow> window;
};

QWidget* focused() {
    return QApplication::focusWidget();
}

TEST_F(KeyboardAccessTest, TabVisitsEachPageInReadingOrderFromWhereItsShowHandlerPutTheFocus) {
    TForm1& f = start();
    QWidget* tabs = f.PageControl1->tabBar();
    struct Row {
        const char* page;
        QWidget* tab;
        std::function<void()> then;  // after the page is shown
        QWidget* from;
        std::vector<QWidget*> order;
    };
    const std::vector<Row> rows = {
        {"disk",
         f.DiskTab,
         [tabs] { tabs->setFocus(); },
         tabs,
         {f.DriveComboBox1, f.Gauge5, f.Memo1, f.Memo2, f.Memo3, f.Memo10, f.Memo9, tabs}},
        {"memory", f.MemTab, {}, f.Panel8, {f.Gauge1, f.Memo4, f.Memo5, f.Memo6, tabs}},
        {"CPU", f.CPUTab, {}, f.Panel11, {f.Gauge6, f.Memo7, f.M11, f.Edit4, f.Keisoku, tabs}},
        {"BIOS", f.BIOSTab, {}, f.Panel26, {f.Memo8, tabs}},
        {"display", f.DisplayTab, {}, f.Panel29, {f.Disp1, tabs}},
        {"user", f.UserTab, {}, f.Panel16, {f.NowName, f.NowCompany, f.NowPCName, f.Change, f.M1, tabs}},
        {"user, editing",
         f.UserTab,
         [&f] {
             f.fire(&TForm1::ChangeClick);
             f.Panel16->setFocus();
         },
         f.Panel16,
         {f.NowName, f.NowCompany, f.NowPCName, f.NewName, f.NewCompany, f.NewPCName, f.Touroku, f.Cancel, tabs}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.page);
        f.PageControl1->setCurrentWidget(f.CPUTab == row.tab ? f.DiskTab : f.CPUTab);
        f.PageControl1->setCurrentWidget(row.tab);
        if (row.then)
            row.then();
        EXPECT_EQ(focused(), row.from);
        for (QWidget* next : row.order) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            EXPECT_EQ(focused(), next) << (focused() ? focused()->objectName().toStdString() : "none");
        }
        // And back from the page's first control to the tabs.
        row.order.front()->setFocus();
        QTest::keyClick(focused(), Qt::Key_Backtab);
        EXPECT_EQ(focused(), tabs);
    }
}

TEST_F(KeyboardAccessTest, SpaceOrEnterSinksAnOvalButtonAndReleasingRunsItsClick) {
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        TForm1& f = start();
        const QPoint place = f.Keisoku->pos();
        f.Keisoku->setFocus();
        QTest::keyPress(f.Keisoku, key);
        EXPECT_EQ(f.Keisoku->pos(), place + QPoint(1, 1)) << key;
        EXPECT_NE(f.Memo7->text(), kMeasuring) << key;
        QTest::keyRelease(f.Keisoku, key);
        EXPECT_EQ(f.Memo7->text(), kMeasuring) << key;
        EXPECT_EQ(f.Keisoku->pos(), place) << key;
        // The click's own focus move stands.
        EXPECT_EQ(focused(), f.Panel11) << key;
    }
}

TEST_F(KeyboardAccessTest, ControlTabAndPageKeysTurnThePagesAndEscapeCancelsTheEditor) {
    TForm1& f = start();
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QWidget* page;
    };
    const Step steps[] = {
        {Qt::Key_Tab, Qt::ControlModifier, f.BIOSTab},
        {Qt::Key_PageDown, Qt::ControlModifier, f.DisplayTab},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, f.BIOSTab},
        {Qt::Key_PageUp, Qt::ControlModifier, f.CPUTab},
        {Qt::Key_PageUp, Qt::ControlModifier, f.MemTab},
        {Qt::Key_PageUp, Qt::ControlModifier, f.DiskTab},
        {Qt::Key_PageUp, Qt::ControlModifier, f.UserTab},  // round the end
        {Qt::Key_Tab, Qt::ControlModifier, f.DiskTab},
    };
    for (const Step& step : steps) {
        QTest::keyClick(focused() ? focused() : &f, step.key, step.modifiers);
        EXPECT_EQ(f.PageControl1->currentWidget(), step.page);
    }

    f.PageControl1->setCurrentWidget(f.UserTab);
    f.fire(&TForm1::ChangeClick);
    f.NewName->setText(QStringLiteral("typed"));
    ASSERT_EQ(focused(), f.NewName);
    QTest::keyClick(f.NewName, Qt::Key_Escape);
    EXPECT_FALSE(f.Panel20->isVisible());
    EXPECT_TRUE(f.Panel25->isVisible());
    EXPECT_EQ(f.NewName->text(), f.NowName->text());
}

TEST_F(KeyboardAccessTest, TheFocusFrameShowsOnlyOnceAKeyIsPressed) {
    TForm1& f = start();
    const FocusFrame* frame = f.findChild<FocusFrame*>();
    ASSERT_NE(frame, nullptr);
    f.PageControl1->setCurrentWidget(f.UserTab);
    QTest::mouseClick(f.Change, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseClick(f.NewCompany, Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), f.NewPCName);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->geometry(), QRect(f.NewPCName->mapTo(&f, QPoint(0, 0)), f.NewPCName->size()));
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), f.Touroku);
    // Round the caption, inside the oval.
    EXPECT_TRUE(f.Touroku->rect().contains(frame->geometry().translated(-f.Touroku->mapTo(&f, QPoint(0, 0)))));
    EXPECT_LT(frame->width(), f.Touroku->width());
}

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

TEST_F(KeyboardAccessTest, EachControlTellsAReaderItsRoleNameAndValue) {
    TForm1& f = start();
    f.fire(&TForm1::Timer2Timer);
    for (QWidget* page : {f.DiskTab, f.MemTab, f.BIOSTab, f.DisplayTab, f.UserTab, f.CPUTab})
        f.PageControl1->setCurrentWidget(page);
    struct Row {
        QWidget* control;
        QAccessible::Role role;
        QString name;
        QString value;  // the text where it is not checked here
    };
    const Row rows[] = {
        {f.Panel2, QAccessible::Pane, {}, {}},
        {f.DiskTab, QAccessible::Pane, QStringLiteral("ディスク"), {}},
        {f.Panel11, QAccessible::Pane, QStringLiteral("CPU"), {}},
        {f.Panel16, QAccessible::Pane, QStringLiteral("ユーザー 情報"), {}},
        {f.Memo1, QAccessible::EditableText, QStringLiteral("全容量"), f.Memo1->text()},
        {f.Memo9, QAccessible::EditableText, QStringLiteral("シリアル番号"), f.Memo9->text()},
        {f.Memo4, QAccessible::EditableText, QStringLiteral("全容量"), f.Memo4->text()},
        {f.Memo7, QAccessible::EditableText, QStringLiteral("周波数"), f.Memo7->text()},
        {f.Edit4, QAccessible::EditableText, QStringLiteral("Vendor"), f.Edit4->text()},
        {f.Memo8, QAccessible::EditableText, QStringLiteral("メインボード バイオス情報"), f.Memo8->text()},
        {f.NowCompany, QAccessible::EditableText, QStringLiteral("会社名"), f.NowCompany->text()},
        {f.NewPCName, QAccessible::EditableText, QStringLiteral("ＰＣ名"), f.NewPCName->text()},
        {f.Edit2, QAccessible::StaticText, QStringLiteral("ディスプレイ（画面）情報"), {}},
        {f.Name1, QAccessible::StaticText, QStringLiteral("使用者"), {}},
        {f.Gauge1, QAccessible::ProgressBar, QStringLiteral("使用率"),
         QStringLiteral("%1 %").arg(f.Gauge1->Percentage())},
        {f.Gauge6, QAccessible::ProgressBar, QStringLiteral("使用率"),
         QStringLiteral("%1 %").arg(f.Gauge6->Percentage())},
        {f.Keisoku, QAccessible::Button, QStringLiteral("クロック 計測"), {}},
        {f.Touroku, QAccessible::Button, QStringLiteral("登　録"), {}},
        {f.DriveComboBox1, QAccessible::ComboBox, {}, {}},
    };
    for (const Row& row : rows) {
        QAccessibleInterface* face = accessible(row.control);
        ASSERT_NE(face, nullptr);
        SCOPED_TRACE(row.name.toStdString());
        EXPECT_EQ(face->role(), row.role);
        EXPECT_FALSE(face->state().focusable && row.role == QAccessible::Pane);
        if (!row.name.isEmpty()) {
            EXPECT_EQ(face->text(QAccessible::Name), row.name);
        }
        if (!row.value.isEmpty()) {
            const QAccessibleTextInterface* text = face->textInterface();
            EXPECT_EQ(text ? text->text(0, text->characterCount()) : face->text(QAccessible::Value),
                      QString(row.value).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
    }
    // A figure's caption is the label for its box.
    const auto labelled = accessible(f.Memo10)->relations(QAccessible::Label);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled.front().first->object(), f.Label15);
}

TEST_F(KeyboardAccessTest, AReaderPressesTheButtonsAndReadsTheDrivesInWords) {
    TForm1& f = start();
    QAccessibleActionInterface* actions = accessible(f.Keisoku)->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.Memo7->text(), kMeasuring);

    f.PageControl1->setCurrentWidget(f.DiskTab);
    ASSERT_GE(f.DriveComboBox1->count(), 1);
    QStringList rows;
    for (int i = 0; i < f.DriveComboBox1->count(); ++i)
        rows << f.DriveComboBox1->itemData(i, Qt::AccessibleTextRole).toString();
    // The simulated 9x machine: a floppy, a hard disk with its label, a CD-ROM without a disc.
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows.mid(0, 3), QStringList({QStringLiteral("a: リムーバブル ディスク"),
                                           QStringLiteral("c: ハードディスク system"), QStringLiteral("d: CD-ROM")}));
    EXPECT_EQ(accessible(f.DriveComboBox1)->text(QAccessible::Value), rows.at(f.DriveComboBox1->currentIndex()));
}

TEST(TGaugeShare, IsAnnouncedWhenTheShownShareChanges) {
    // The accessibility events hang on this signal; Qt sends them only with a reader attached,
    // which the session check has.
    TGauge gauge;
    QSignalSpy spy(&gauge, &TGauge::percentageChanged);
    gauge.setMaxValue(200);  // 0 of 200: still 0 %
    gauge.setProgress(1);    // 0.5 %: still 0 %
    EXPECT_EQ(spy.count(), 0);
    gauge.setProgress(100);  // 50 %
    gauge.setMaxValue(100);  // 100 %
    gauge.setMinValue(50);   // 50 of 50: still 100 %
    gauge.setProgress(75);   // 50 %
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 50);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 100);
    EXPECT_EQ(spy.at(2).at(0).toInt(), 50);
}

}  // namespace
}  // namespace zelvo
