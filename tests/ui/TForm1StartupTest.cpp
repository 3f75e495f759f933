// The start-up sequence: its order, its error rule, and what it leaves on the pages.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <string>
#include <utility>
#include <vector>

#include "SimWindow.h"
#include "support/CodePageTextTesting.h"
#include "ui/MessageBoxes.h"
#include "ui/StartupSteps.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"

namespace zelvo {
namespace {

using namespace platform;
using test::SimWindow;

const QString kViewing = QStringLiteral("登録情報を表示中です\r\n変更は登録変更ボタン");

TEST(FormCreate, StepsRunInOrder) {
    SimWindow window(makeWin9xMachine());
    window.form->FormCreate();
    const auto& p = window.platform;
    const int name = p.firstCall("getComputerName");
    const int bios = p.firstCall("getVersion");
    const int display = p.firstCall("enumDisplaySettings");
    const int statistics = p.firstCall("regOpenKey PerfStats\\StartStat");
    const int tempData = p.firstCall("createDirectory");
    ASSERT_GE(name, 0);
    EXPECT_LT(name, bios);
    EXPECT_LT(bios, display);
    EXPECT_LT(display, statistics);
    EXPECT_LT(statistics, tempData);
    // The user-page load comes last and detects the platform again before reading the registry.
    std::size_t detect = 0;
    for (std::size_t i = static_cast<std::size_t>(tempData); i < p.calls.size(); ++i)
        if (p.calls[i] == "getVersion")
            detect = i;
    EXPECT_GT(detect, static_cast<std::size_t>(tempData));
    EXPECT_EQ(p.calls[static_cast<std::size_t>(tempData)], "createDirectory C:\\Program Files\\Zelvo\\TempData");
    EXPECT_TRUE(window.errors.isEmpty());
    EXPECT_EQ(window.form->M1->text(), kViewing);
    EXPECT_EQ(window.form->NowName->text(), QStringLiteral("山田 太郎"));
}

// The start-up benchmark's marks, each with the number of backend calls made by then.
std::vector<std::pair<std::string, std::size_t>> marks;
const test::RecordingPlatform* markedPlatform = nullptr;

void RecordMark(const char* step) {
    marks.emplace_back(step, markedPlatform->calls.size());
}

TEST(FormCreate, MarksEachStepForTheStartupBenchmarkOnceItIsDone) {
    SimWindow window(makeWin9xMachine());
    marks.clear();
    markedPlatform = &window.platform;
    setStartupStepSink(RecordMark);
    window.form->FormCreate();
    setStartupStepSink(nullptr);

    std::vector<std::string> names;
    for (const auto& mark : marks)
        names.push_back(mark.first);
    EXPECT_EQ(names, (std::vector<std::string>{"computer-name", "bios-page", "display-page", "oval-buttons",
                                               "statistics", "temp-data", "centred", "user-page"}));
    ASSERT_EQ(marks.size(), 8U);
    // A page's mark comes after its calls and before the next page's.
    const auto& p = window.platform;
    EXPECT_GT(marks[0].second, static_cast<std::size_t>(p.firstCall("getComputerName")));
    EXPECT_LE(marks[0].second, static_cast<std::size_t>(p.firstCall("getVersion")));
    EXPECT_GT(marks[2].second, static_cast<std::size_t>(p.firstCall("enumDisplaySettings")));
    EXPECT_LE(marks[3].second, static_cast<std::size_t>(p.firstCall("regOpenKey PerfStats\\StartStat")));
    EXPECT_GT(marks[4].second, static_cast<std::size_t>(p.firstCall("regOpenKey PerfStats\\StartStat")));
    EXPECT_EQ(marks[7].second, p.calls.size());
}

TEST(FormCreate, AnErrorEndsTheSequenceAndTheWindowStillOpens) {
    SimMachine machine = makeWin9xMachine();
    machine.registry.setValue(kHKeyDynData, "PerfStats\\StartStat", "KERNEL\\CPUUsage", regDword(1));
    SimWindow window(std::move(machine));
    const QString nameBefore = window.form->NowName->text();
    window.form->FormCreate();

    ASSERT_EQ(window.errors.size(), 1);
    EXPECT_EQ(window.errors[0], QStringLiteral("'KERNEL\\CPUUsage' のデータ型が不正です."));
    // Steps before the error did their part.
    EXPECT_FALSE(window.form->NowPCName->text().isEmpty());
    EXPECT_FALSE(window.form->Memo8->text().isEmpty());
    EXPECT_FALSE(window.form->Disp1->text().isEmpty());
    // Steps after it did not: no TempData, not centred, no user-page load.
    EXPECT_EQ(window.platform.firstCall("createDirectory"), -1);
    EXPECT_EQ(window.form->pos(), QPoint(229, 132));
    EXPECT_EQ(window.form->NowName->text(), nameBefore);
    // Only step 1's change of the new-name box reached the status memo.
    EXPECT_EQ(window.form->M1->text(), QStringLiteral("新データに変更する場合\r\n登録ボタンをクリック"));

    window.form->show();
    EXPECT_TRUE(window.form->isVisible());
}

TEST(FormCreate, UnreadableComputerNameShowsQuestionMarksInBothBoxes) {
    const struct {
        const char* name;
        std::optional<std::string> computerName;
        QString shown;
    } rows[] = {
        {"unreadable", std::nullopt, QStringLiteral("???")},
        {"too long for 16 characters", std::string("ABCDEFGHIJKLMNOP"), QStringLiteral("???")},
        {"15 characters", std::string("ABCDEFGHIJKLMNO"), QStringLiteral("ABCDEFGHIJKLMNO")},
        {"japanese", std::string("開発用ＰＣ"), QStringLiteral("開発用ＰＣ")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimMachine machine = makeNtMachine();
        machine.computerName = row.computerName;
        SimWindow window(std::move(machine));
        window.form->FormCreate();
        EXPECT_EQ(window.form->NowPCName->text(), row.shown);
        EXPECT_EQ(window.form->NewPCName->text(), row.shown);
    }
}

TEST(FormCreate, ASecondStartBesideAnExistingTempDataStartsNormally) {
    SimMachine machine = makeNtMachine();
    machine.directories.insert("C:\\Program Files\\Zelvo\\TempData");
    SimWindow window(std::move(machine));
    window.form->FormCreate();
    EXPECT_TRUE(window.errors.isEmpty());
    EXPECT_EQ(window.form->M1->text(), kViewing);
    EXPECT_EQ(window.form->pos(), QPoint((1024 - 472) / 2, (768 - 242) / 2));
}

TEST(FormCreate, WithoutTheProgramPathNoTempDataIsMadeAndStartUpGoesOn) {
    SimMachine machine = makeNtMachine();
    machine.programPath.clear();  // the program's path cannot be read
    SimWindow window(std::move(machine));
    window.form->FormCreate();
    EXPECT_EQ(window.platform.firstCall("createDirectory"), -1);
    EXPECT_TRUE(window.errors.isEmpty());
    EXPECT_EQ(window.form->M1->text(), kViewing);
}

TEST(FormCreate, CentresEvenOnAScreenSmallerThanTheWindow) {
    const struct {
        QSize screen;
        QPoint position;
    } rows[] = {
        {{1024, 768}, {276, 263}}, {{1025, 769}, {276, 263}}, {{472, 242}, {0, 0}},
        {{400, 200}, {-36, -21}},  {{401, 201}, {-35, -20}},  // -71 / 2 and -41 / 2 truncate toward zero
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.screen.width());
        SimWindow window(makeNtMachine(), row.screen);
        window.form->FormCreate();
        EXPECT_EQ(window.form->frameSize(), QSize(472, 242));
        EXPECT_EQ(window.form->pos(), row.position);
    }
}

// Before it is first shown the window has no frame; once on screen it is centred by its outer
// size, unless it was placed elsewhere meanwhile.
TEST(FormCreate, CentredByTheOuterFrameOnceOnScreen) {
    for (const bool movedMeanwhile : {false, true}) {
        SCOPED_TRACE(movedMeanwhile ? "moved meanwhile" : "as centred");
        SimWindow window(makeNtMachine(), QSize(1024, 768));
        TForm1& form = *window.form;
        form.FormCreate();
        if (movedMeanwhile)
            form.move(10, 20);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        // The offscreen platform gives windows a frame, as a window manager does.
        ASSERT_NE(form.frameSize(), form.size());
        const QPoint expected = movedMeanwhile ? QPoint(10, 20) : CentredPosition(QSize(1024, 768), form.frameSize());
        EXPECT_EQ(form.frameGeometry().topLeft(), expected);
    }
}

TEST(FormCreate, LoadGaugeVisibilityByFamilyRunTwice) {
    const struct {
        const char* name;
        std::optional<std::uint32_t> platformId;  // nullopt: the version query fails
        bool visible;
    } rows[] = {
        {"9x", 1u, true},
        {"NT", 2u, false},
        // Neither family: the form's own visibility stays.
        {"unknown", 7u, true},
        {"failed query", std::nullopt, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimMachine machine = makeWin9xMachine();
        if (row.platformId)
            machine.version->platformId = *row.platformId;
        else
            machine.version.reset();
        SimWindow window(std::move(machine));
        window.form->FormCreate();
        for (int run = 0; run < 2; ++run) {
            EXPECT_EQ(!window.form->Label9->isHidden(), row.visible);
            EXPECT_EQ(!window.form->Label21->isHidden(), row.visible);
            EXPECT_EQ(!window.form->Gauge6->isHidden(), row.visible);
            window.form->fire(&TForm1::Button8Click);
        }
        EXPECT_TRUE(window.errors.isEmpty());
    }
}

TEST(FormDestroy, StopsTheStatisticsOnce) {
    SimWindow window(makeWin9xMachine());
    window.form->FormCreate();
    window.platform.calls.clear();
    window.form->FormDestroy();
    window.form->FormDestroy();
    int stops = 0;
    for (const auto& call : window.platform.calls)
        stops += call == "regOpenKey PerfStats\\StopStat" ? 1 : 0;
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(window.form->Timer2->isActive());
}

TEST(Timers, IntervalsAndStartState) {
    SimWindow window(makeNtMachine());
    EXPECT_EQ(window.form->Timer1->interval(), 1000);
    EXPECT_FALSE(window.form->Timer1->isActive());
    EXPECT_EQ(window.form->Timer2->interval(), 2000);
    EXPECT_TRUE(window.form->Timer2->isActive());
}

// Where a widget sits in the window: the index of each ancestor among its parent's children.
QString WidgetPath(const QWidget* widget, const QWidget* window) {
    QStringList steps;
    for (; widget && widget != window; widget = widget->parentWidget())
        steps.prepend(QString::number(widget->parentWidget()->children().indexOf(widget)));
    return steps.join(QLatin1Char('/'));
}

// What Tab visits and what a reader is told, in the window's focus chain.
QStringList FocusChainAndNames(TForm1& form) {
    QStringList chain;
    QWidget* widget = &form;
    do {
        chain.append(WidgetPath(widget, &form) + QLatin1Char(' ') + widget->accessibleName());
        widget = widget->nextInFocusChain();
    } while (widget != &form);
    return chain;
}

// What a reader is told of `root` and everything on it, by the interfaces it asks for.
QStringList ReaderView(QWidget* root) {
    QStringList view;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
        view.append(QStringLiteral("%1 %2 %3")
                        .arg(reader->role())
                        .arg(reader->text(QAccessible::Name))
                        .arg(reader->state().focusable));
    }
    return view;
}

// The window shows the CPU page first and builds the others once it is painted, or as soon as a
// page is turned to before that; either way it ends up as the window built at once, with what
// start-up put on those pages up to an error that ended it.
TEST(PagesBuiltAfterFirstPaint, EndUpAsTheWindowBuiltAtOnce) {
    const struct {
        const char* name;
        SimMachine (*machine)();
        bool turnBeforePaint;
    } rows[] = {
        {"9x", makeWin9xMachine, false},
        {"NT, user page turned to first", makeNtMachine, true},
        {"start-up ended by an error",
         [] {
             SimMachine machine = makeWin9xMachine();
             machine.registry.setValue(kHKeyDynData, "PerfStats\\StartStat", "KERNEL\\CPUUsage", regDword(1));
             return machine;
         },
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimWindow atOnce(row.machine());
        SimWindow later(row.machine(), QSize(1024, 768), TForm1::PageBuild::ShownPageFirst);
        for (SimWindow* window : {&atOnce, &later})
            window->form->FormCreate();
        EXPECT_EQ(later.errors, atOnce.errors);
        EXPECT_FALSE(later.form->otherPagesBuilt());
        EXPECT_EQ(later.form->Memo8, nullptr);
        // A reader meets the CPU page as it is from the first paint on, before the others are built.
        EXPECT_EQ(ReaderView(later.form->CPUTab), ReaderView(atOnce.form->CPUTab));

        later.form->show();
        if (row.turnBeforePaint) {
            later.form->PageControl1->setCurrentWidget(later.form->UserTab);
            EXPECT_TRUE(later.form->otherPagesBuilt());
        }
        ASSERT_TRUE(QTest::qWaitForWindowExposed(later.form.get()));
        QTRY_VERIFY(later.form->otherPagesBuilt());
        atOnce.form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(atOnce.form.get()));

        // Each page as it looks in the active window, where the focus shows.
        const auto pageImage = [](TForm1& form, int page) {
            form.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
            form.PageControl1->setCurrentIndex(page);
            return form.grab().toImage();
        };
        for (int page = 0; page < atOnce.form->PageControl1->count(); ++page) {
            SCOPED_TRACE(page);
            EXPECT_EQ(pageImage(*later.form, page), pageImage(*atOnce.form, page));
        }
        EXPECT_EQ(FocusChainAndNames(*later.form), FocusChainAndNames(*atOnce.form));
    }
}

TEST(ErrorBoxText, FullStopOnlyAfterCharactersThatSortAfterIt) {
    const struct {
        QString message;
        QString shown;
    } rows[] = {
        {QStringLiteral("不正な浮動小数点数演算命令"), QStringLiteral("不正な浮動小数点数演算命令.")},
        {QStringLiteral("Disk full"), QStringLiteral("Disk full.")},
        {QStringLiteral("Done."), QStringLiteral("Done.")},
        {QStringLiteral("Really?!"), QStringLiteral("Really?!")},
        {QStringLiteral("a-"), QStringLiteral("a-")},
        {QStringLiteral("(x)"), QStringLiteral("(x)")},
        {QString(), QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        EXPECT_EQ(ErrorBoxText(row.message), row.shown);
    }
}

}  // namespace
}  // namespace zelvo
