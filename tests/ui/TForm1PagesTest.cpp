// The pages' handlers on the simulated machine: what each event leaves in the controls.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "SimWindow.h"
#include "format/NumberSeparators.h"
#include "support/OpenBoxes.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TPanel.h"

namespace zelvo {
namespace {

using namespace platform;
using test::SimWindow;

const QString kViewing = QStringLiteral("登録情報を表示中です\r\n変更は登録変更ボタン");
const QString kEditing = QStringLiteral("新データに変更する場合\r\n登録ボタンをクリック");
const QString kRestart = QStringLiteral(" 新ＰＣ名は再起動後\r\n『有効』になります");

RegValue LoadValue(std::int32_t load) {
    const auto raw = static_cast<std::uint32_t>(load);
    const char bytes[4] = {char(raw & 0xFF), char((raw >> 8) & 0xFF), char((raw >> 16) & 0xFF),
                           char((raw >> 24) & 0xFF)};
    return regBinary(std::string_view(bytes, 4));
}

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberSeparators({',', '.'}); }

    // The window on `machine`, after its start-up sequence.
    TForm1& start(SimMachine machine) {
        window.reset();
        window = std::make_unique<SimWindow>(std::move(machine));
        window->form->FormCreate();
        return *window->form;
    }
    // The same, shown on the disk page: the selector's window is made when the page is first shown,
    // and that fills the page.
    TForm1& startOnDiskPage(SimMachine machine) {
        TForm1& form = start(std::move(machine));
        form.show();
        form.PageControl1->setCurrentWidget(form.DiskTab);
        return form;
    }

    std::unique_ptr<SimWindow> window;
};

SimDrive FixedDrive(const char* label, const char* fileSystem, std::uint32_t serial, std::int64_t total,
                    std::int64_t free) {
    SimDrive drive;
    drive.type = kDriveFixed;
    drive.label = label;
    drive.fileSystem = fileSystem;
    drive.serial = serial;
    drive.totalBytes = total;
    drive.freeBytes = free;
    return drive;
}

// What a usage page shows once its figures came: the sizes, the percentage in its band's colour
// and the gauge, the used share in red over a lime disc.
void ExpectUsage(const std::array<const TMemo*, 3>& boxes, const TLabel* label, const TGauge* gauge,
                 const std::array<QString, 3>& sizes, int percentage, ColourValue band) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i]->text(), sizes[i]);
    EXPECT_EQ(label->text(), QString::number(percentage) + QStringLiteral(" %"));
    EXPECT_EQ(label->fontColor(), band);
    EXPECT_EQ(gauge->Progress(), percentage);
    EXPECT_EQ(gauge->ForeColor(), colour::Red);
    EXPECT_EQ(gauge->BackColor(), colour::Lime);
}

TEST_F(PagesTest, Timer2ShowsTheLoadIn9xBandsAndTheMemory) {
    const struct {
        std::int32_t load;
        ColourValue colour;
    } rows[] = {
        {15, colour::Silver}, {16, colour::White}, {57, colour::Lime}, {90, colour::Fuchsia}, {91, colour::Red}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.load);
        SimMachine machine = makeWin9xMachine();
        machine.registry.setValue(kHKeyDynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", LoadValue(row.load));
        machine.memory.totalPhys = 256ull * 1048576;
        machine.memory.availPhys = 64ull * 1048576;
        TForm1& form = start(std::move(machine));
        form.fire(&TForm1::Timer2Timer);
        EXPECT_EQ(form.Gauge6->ForeColor(), row.colour);
        EXPECT_EQ(form.Gauge6->BackColor(), colour::Navy);
        EXPECT_EQ(form.Gauge6->Progress(), row.load);
        EXPECT_EQ(form.Label21->fontColor(), row.colour);
        EXPECT_EQ(form.Label21->text(), QString::number(row.load) + QStringLiteral(" %"));
        ExpectUsage({form.Memo4, form.Memo5, form.Memo6}, form.Label13, form.Gauge1, {"256 MB", "192 MB", "64 MB"}, 75,
                    colour::Aqua);
        EXPECT_TRUE(window->errors.isEmpty());
    }
}

TEST_F(PagesTest, AStatisticsValueOfTheWrongTypeFailsEveryTickAndSkipsTheMemory) {
    TForm1& form = start(makeWin9xMachine());
    window->machine.registry.setValue(kHKeyDynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", regSz("12"));
    const QString memoBefore = form.Memo4->text();
    for (int tick = 1; tick <= 3; ++tick) {
        form.fire(&TForm1::Timer2Timer);
        EXPECT_EQ(window->errors.size(), tick);
    }
    EXPECT_EQ(window->errors.back(), QStringLiteral("'KERNEL\\CPUUsage' のデータ型が不正です."));
    EXPECT_EQ(form.Memo4->text(), memoBefore);
    EXPECT_TRUE(form.Label5->isHidden());
    EXPECT_TRUE(form.Timer2->isActive());
}

// Real error boxes on the offscreen platform, each running its own loop as the program's do: the
// tick goes on under them, so a tick that fails every time adds a box every 2 seconds.
TEST_F(PagesTest, AFailingTickAddsABoxEveryTwoSecondsWhileTheBoxesStayOpen) {
    SimMachine machine = makeWin9xMachine();
    machine.registry.setValue(kHKeyDynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", regSz("12"));
    SimPlatform platform(machine);
    TForm1 form(platform);
    std::vector<QString> textsAfter7s;
    QEventLoop loop;
    // Once counted, every box is closed (and any tick already on its way) before the loop ends.
    QTimer closer;
    test::closeBoxesThenQuit(closer, loop);
    QTimer::singleShot(7000, &loop, [&] {
        for (const QMessageBox* box : test::openMessageBoxes())
            textsAfter7s.push_back(box->text());
        form.Timer2->stop();
        closer.start(20);
    });
    loop.exec();
    EXPECT_EQ(textsAfter7s, std::vector<QString>(3, QStringLiteral("'KERNEL\\CPUUsage' のデータ型が不正です.")));
    EXPECT_TRUE(test::openMessageBoxes().empty());
}

TEST_F(PagesTest, OnNtOnlyTheMemoryIsRefreshed) {
    TForm1& form = start(makeNtMachine());
    const int progress = form.Gauge6->Progress();
    form.fire(&TForm1::Timer2Timer);
    EXPECT_EQ(form.Gauge6->Progress(), progress);
    EXPECT_TRUE(form.Gauge6->isHidden());
    EXPECT_FALSE(form.Label5->isHidden());
    EXPECT_TRUE(window->errors.isEmpty());
}

TEST_F(PagesTest, ASettingsChangeReadsTheSeparatorsAgain) {
    TForm1& form = start(makeNtMachine());
    window->machine.thousandSeparator = ".";
    window->machine.decimalSeparator = ",";
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(&form, &change);
    EXPECT_EQ(window->machine.threadLocaleResets, 1);
    EXPECT_EQ(numberSeparators().thousands, '.');
    EXPECT_EQ(numberSeparators().decimal, ',');
    // Texts written from now on use them.
    window->machine.memory.totalPhys = 1536ull * 1048576 + 1048576 / 2;
    form.fire(&TForm1::Timer2Timer);
    EXPECT_EQ(form.Memo4->text(), QStringLiteral("1.536,5 MB"));
    setNumberSeparators({',', '.'});
}

TEST_F(PagesTest, ClockMeasurementFromClickToBeep) {
    SimMachine machine = makeNtMachine();
    machine.clock.cyclesPerSecond = SimClock::rateMeasuredAs(2400000000.0);
    TForm1& form = start(std::move(machine));
    EXPECT_TRUE(form.Label16->isHidden());

    form.fire(&TForm1::KeisokuClick);
    EXPECT_EQ(form.Memo7->text(), QStringLiteral(" 只今・・・計測中！"));
    EXPECT_EQ(form.Memo7->fontColor(), colour::Yellow);
    EXPECT_TRUE(form.Timer1->isActive());
    const int afterFirstClick = form.Timer1->remainingTime();
    // A second click while waiting only re-enables the same timer: the measurement still comes
    // one second after the first click. A restarted timer would have about a second left again
    // (a coarse timer may move its deadline by 5%, 50 ms, either way).
    QTest::qSleep(300);
    form.fire(&TForm1::KeisokuClick);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_LT(form.Timer1->remainingTime(), afterFirstClick - 150);

    form.fire(&TForm1::Timer1Timer);
    EXPECT_EQ(form.Memo7->text(), QStringLiteral("2.4 GHz"));
    EXPECT_EQ(form.Memo7->fontColor(), colour::Aqua);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(window->machine.beeps, std::vector<std::uint32_t>{0});
    EXPECT_FALSE(form.Label16->isHidden());
}

const QString kDevPC = QStringLiteral("開発用ＰＣ");

struct RegistrationRow {
    const char* name;
    // What the user does in the editor before the final button.
    QString newName, newCompany, newPCName;
    bool acceptName;
    bool cancel;
    // Expected afterwards.
    int refusals;
    QString status;
    ColourValue statusColour;
    QString owner, organization;
    std::optional<std::string> pending;
    QString oldPCName = kDevPC;  // the name read at start-up
};

TEST_F(PagesTest, RegistrationTransitions) {
    const QString owner = QStringLiteral("佐藤 花子");
    const QString company = QStringLiteral("ゼルボ商事株式会社");
    const RegistrationRow rows[] = {
        {"unchanged", owner, company, kDevPC, true, false, 0, kViewing, colour::White, owner, company, "開発用ＰＣ"},
        {"new accepted name", QStringLiteral("新しい人"), QStringLiteral("新会社"), QStringLiteral("NEWPC"), true,
         false, 0, kRestart, colour::Fuchsia, QStringLiteral("新しい人"), QStringLiteral("新会社"), "NEWPC"},
        {"refused name", QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("BAD"), false, false, 1, kViewing,
         colour::White, QStringLiteral("A"), QStringLiteral("B"), std::nullopt},
        // Nine double-byte characters are 18 bytes of CP932: never handed to the system.
        {"over 16 bytes", QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("開発用ＰＣ二号機三"), true, false,
         1, kViewing, colour::White, QStringLiteral("A"), QStringLiteral("B"), std::nullopt},
        {"cancel after typing", QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("TYPED"), true, true, 0,
         kViewing, colour::White, owner, company, std::nullopt},
        // Names are compared exactly: one that differs only in letter case is a new name.
        {"letter case only", owner, company, QStringLiteral("VM"), true, false, 0, kRestart, colour::Fuchsia, owner,
         company, "VM", QStringLiteral("vm")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimMachine machine = makeNtMachine();
        const bool accept = row.acceptName;
        machine.acceptComputerName = [accept](const std::string&) { return accept; };
        machine.computerName = row.oldPCName.toStdString();
        TForm1& form = start(std::move(machine));
        ASSERT_EQ(form.NowPCName->text(), row.oldPCName);

        form.fire(&TForm1::ChangeClick);
        EXPECT_FALSE(form.Panel20->isHidden());
        EXPECT_TRUE(form.Panel25->isHidden());
        EXPECT_TRUE(form.M1->isHidden());
        // Typing the text a box already holds changes nothing and raises no change.
        form.NewName->setText(row.newName);
        EXPECT_EQ(form.M1->isHidden(), row.newName == owner);
        if (row.newName != owner) {
            EXPECT_EQ(form.M1->text(), kEditing);
            EXPECT_EQ(form.M1->fontColor(), colour::Yellow);
        }
        form.NewCompany->setText(row.newCompany);
        form.NewPCName->setText(row.newPCName);

        form.fire(row.cancel ? &TForm1::CancelClick : &TForm1::TourokuClick);
        EXPECT_EQ(window->refusals.size(), row.refusals);
        if (row.refusals) {
            EXPECT_EQ(window->refusals[0], QStringLiteral("コンピュータ名を変更できません。"));
        }
        EXPECT_TRUE(form.Panel20->isHidden());
        EXPECT_FALSE(form.Panel25->isHidden());
        EXPECT_FALSE(form.M1->isHidden());
        EXPECT_EQ(form.M1->text(), row.status);
        EXPECT_EQ(form.M1->fontColor(), row.statusColour);
        EXPECT_EQ(form.NowName->text(), row.owner);
        EXPECT_EQ(form.NowCompany->text(), row.organization);
        // The edit boxes show the registry's values again; the typed computer name stays.
        EXPECT_EQ(form.NewName->text(), row.owner);
        EXPECT_EQ(form.NewCompany->text(), row.organization);
        EXPECT_EQ(form.NewPCName->text(), row.newPCName);
        // The current name is the one read at start-up, whatever was accepted.
        EXPECT_EQ(form.NowPCName->text(), row.oldPCName);
        EXPECT_EQ(window->machine.pendingComputerName, row.pending);
        EXPECT_TRUE(window->errors.isEmpty());
        EXPECT_EQ(window->machine.registry.openHandleCount(), 0u);
    }
}

TEST_F(PagesTest, ALongOwnerIsWrittenAndReadsBackAsTyped) {
    TForm1& form = start(makeNtMachine());
    QString longOwner;
    for (int i = 0; i < 128; ++i)
        longOwner += QStringLiteral("長");
    form.fire(&TForm1::ChangeClick);
    form.NewName->setText(longOwner);
    form.fire(&TForm1::TourokuClick);
    EXPECT_EQ(form.NowName->text(), longOwner);
}

TEST_F(PagesTest, AZeroByteDriveShowsTheErrorAndLeavesThePageReset) {
    SimMachine machine = makeNtMachine();
    machine.setDrive('E', FixedDrive("EMPTY", "FAT", 0x1A2B, 0, 0));
    TForm1& form = startOnDiskPage(std::move(machine));
    ASSERT_TRUE(window->errors.isEmpty());
    const QString percentBefore = form.Label20->text();
    const ColourValue percentColourBefore = form.Label20->fontColor();
    ASSERT_EQ(percentBefore, QStringLiteral("54 %"));

    form.DriveComboBox1->setDriveLetter('e');
    ASSERT_EQ(window->errors.size(), 1);
    EXPECT_EQ(window->errors[0], QStringLiteral("不正な浮動小数点数演算命令."));
    for (const TLabel* label : {form.Label2, form.Label3, form.Label4, form.Label12})
        EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("ハードディスク等"));
    EXPECT_EQ(form.Memo2->text(), QStringLiteral(" の使用状況を、"));
    EXPECT_EQ(form.Memo3->text(), QStringLiteral(" 大まかに表示。"));
    EXPECT_EQ(form.Memo1->fontColor(), colour::Yellow);
    EXPECT_EQ(form.Memo2->fontColor(), colour::Red);
    EXPECT_EQ(form.Memo3->fontColor(), colour::Lime);
    EXPECT_EQ(form.Gauge5->Progress(), 0);
    EXPECT_EQ(form.Gauge5->BackColor(), colour::Blue);
    EXPECT_EQ(form.Label20->text(), percentBefore);
    EXPECT_EQ(form.Label20->fontColor(), percentColourBefore);
    EXPECT_EQ(form.Memo9->text(), QStringLiteral("00001A2B"));
    EXPECT_EQ(form.Memo10->text(), QStringLiteral("FAT"));
}

TEST_F(PagesTest, PickingADriveShowsItsFigures) {
    SimMachine machine = makeNtMachine();
    machine.setDrive('F', FixedDrive("HALF", "FAT32", 0xFFFFFFFF, 2048ll * 1048576, 1024ll * 1048576));
    TForm1& form = startOnDiskPage(std::move(machine));
    form.DriveComboBox1->setDriveLetter('f');
    ExpectUsage({form.Memo1, form.Memo2, form.Memo3}, form.Label20, form.Gauge5, {"2 GB", "1 GB", "1 GB"}, 50,
                colour::White);
    EXPECT_EQ(form.Memo9->text(), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(form.Memo10->text(), QStringLiteral("FAT32"));
    EXPECT_TRUE(window->errors.isEmpty());
}

}  // namespace
}  // namespace zelvo
