#include "ui/TForm1.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <exception>
#include <utility>

#include "format/NumberSeparators.h"
#include "probes/BiosInfo.h"
#include "probes/ClockMeasurement.h"
#include "probes/DiskFigures.h"
#include "probes/DisplayInfo.h"
#include "probes/LoadMonitor.h"
#include "probes/ProcessorIdentity.h"
#include "probes/Registration.h"
#include "probes/Units.h"
#include "report/MachineFacts.h"
#include "report/TextReport.h"
#include "ui/AccessibleNames.h"
#include "ui/FocusFrame.h"
#include "ui/KeyboardOrder.h"
#include "ui/MessageBoxes.h"
#include "ui/StartupSteps.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"
#include "ui/WindowKeys.h"
#include "zelvo/Version.h"

namespace zelvo {

QPointer<TForm1> Form1;

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

const QString kViewingMessage = QStringLiteral("登録情報を表示中です\r\n変更は登録変更ボタン");
const QString kEditingHint = QStringLiteral("新データに変更する場合\r\n登録ボタンをクリック");
const QString kRestartNote = QStringLiteral(" 新ＰＣ名は再起動後\r\n『有効』になります");
const QString kRefusal = QStringLiteral("コンピュータ名を変更できません。");
const QString kMeasuring = QStringLiteral(" 只今・・・計測中！");

}  // namespace

TForm1::TForm1(platform::Platform& platform, QWidget* parent, PageBuild pageBuild)
    : QWidget(parent), platform_(platform) {
    // The start-up sequence reaches the window through the global reference, so it is set first.
    Form1 = this;
    showErrorBox = [this](const QString& message) { ShowErrorBox(this, message); };
    showRefusalBox = [this](const QString& message) { ShowRefusalBox(this, message, screenSize()); };
    screenSize = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize(0, 0);
    };

    createWindow();
    createCpuPage();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setInterval(2000);
    connectWindowHandlers();
    SetShownPageFocus(*this);
    NameShownPageForScreenReaders(*this);
    new WindowKeys(
        this, PageControl1, [this] { return static_cast<QWidget*>(Panel20); }, [this] { Cancel->press(); });
    new FocusFrame(this);
    if (pageBuild == PageBuild::AllAtOnce)
        buildOtherPages();
    Timer2->start();
}

void TForm1::buildOtherPages() {
    if (otherPagesBuilt_)
        return;
    otherPagesBuilt_ = true;
    createOtherPages();
    connectOtherPagesHandlers();
    SetReadingOrder(*this);
    NameOtherPagesForScreenReaders(*this);
    // A page turned to before it was built is already on screen: its controls show with it.
    for (QWidget* background : {Panel2, Panel7, Panel14, Panel28, Panel1})
        if (background->parentWidget()->isVisible())
            background->show();
    for (const auto& fill : std::exchange(pendingFills_, {}))
        fill();
}

void TForm1::onOtherPages(std::function<void()> fill) {
    if (otherPagesBuilt_)
        fill();
    else
        pendingFills_.push_back(std::move(fill));
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::fire(void (TForm1::*handler)()) {
    guarded([this, handler] { (this->*handler)(); });
}

bool TForm1::guarded(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        showErrorBox(ErrorBoxText(QString::fromUtf8(error.what())));
    }
    return false;
}

void TForm1::FormCreate() {
    guarded([this] {
        // 1. Computer name, shown in both the current and the new-name box.
        const auto name = platform_.identity().getComputerName(platform_.identity().computerNameBufferChars());
        const QString computerName = name ? FromUtf8(platform_.text().toUtf8(*name)) : QStringLiteral("???");
        onOtherPages([this, computerName] {
            NowPCName->setText(computerName);
            NewPCName->setText(NowPCName->text());
        });
        markStartupStep("computer-name");
        // 2. BIOS page and 3. display page.
        showBiosPage();
        markStartupStep("bios-page");
        FillDisplayPage();
        markStartupStep("display-page");
        // 4. Oval buttons.
        for (QWidget* panel : {static_cast<QWidget*>(Panel13), static_cast<QWidget*>(Keisoku)})
            ApplyOvalClip(panel);
        onOtherPages([this] {
            for (QWidget* panel :
                 {static_cast<QWidget*>(Panel23), static_cast<QWidget*>(Touroku), static_cast<QWidget*>(Panel24),
                  static_cast<QWidget*>(Cancel), static_cast<QWidget*>(Panel25), static_cast<QWidget*>(Change)})
                ApplyOvalClip(panel);
        });
        markStartupStep("oval-buttons");
        // 5. Processor statistics.
        StartStatistics(platform_.registry(), platform_.text());
        markStartupStep("statistics");
        // 6. TempData (beside the program, or where the system keeps it); an existing directory or a
        // failure changes nothing.
        platform_.files().createTempData();
        markStartupStep("temp-data");
        // 7. Centre on the screen, by the outer size once the window manager's frame is known; on
        // a screen smaller than the window the offsets are negative.
        CentreOnScreen(*this, screenSize());
        markStartupStep("centred");
        // 8. The user page, which detects the platform first.
        Button8Click();
        markStartupStep("user-page");
    });
}

void TForm1::FormDestroy() {
    if (destroyed_)
        return;
    destroyed_ = true;
    Timer1->stop();
    Timer2->stop();
    guarded([this] { StopStatistics(platform_.registry(), platform_.text()); });
}

// --- start-up pages ---

void TForm1::showBiosPage() {
    const BiosPage page =
        zelvo::FillBiosPage(platform_.identity(), platform_.memory(), platform_.registry(), platform_.text());
    if (page.tabVisible)
        PageControl1->setTabVisible(PageControl1->indexOf(BIOSTab), *page.tabVisible);
    onOtherPages([this, page] {
        for (const std::string& addition : page.memoAdditions)
            Memo8->addLine(FromUtf8(addition));
        if (page.heading)
            Edit1->setText(FromUtf8(*page.heading));
    });
}

void TForm1::FillDisplayPage() {
    QStringList lines;
    for (const std::string& line : DisplayPageLines(platform_.display()))
        lines.append(FromUtf8(line));
    onOtherPages([this, lines] { Disp1->addLines(lines); });
}

// --- disk page ---

void TForm1::DriveComboBox1Change(QObject*) {
    for (TLabel* caption : diskUsage_.captions)
        caption->setVisible(false);
    Gauge5->setShowText(false);
    for (TMemo* memo : diskUsage_.boxes)
        memo->setFontColor(colour::White);
    Memo1->setText(QStringLiteral("ハードディスク等"));
    Memo2->setText(QStringLiteral(" の使用状況を、"));
    Memo3->setText(QStringLiteral(" 大まかに表示。"));
    Gauge5->setProgress(0);
    Gauge5->setBackColor(colour::Blue);

    const char letter = DriveComboBox1->DriveLetter();
    driveNumber_ = DriveNumberFromLetter(letter, driveNumber_);
    const VolumeTexts volume = ReadVolumeTexts(platform_.drives(), platform_.text(), letter);
    Memo9->setText(FromUtf8(volume.serial));
    Memo10->setText(FromUtf8(volume.fileSystem));
    Button1Click();
}

void TForm1::Button1Click() {
    diskUsage_.ShowCaptions();
    // A drive that cannot be computed (a total of 0 bytes) stops here, before any figure is shown.
    const UsageFigures figures = ReadDiskFigures(platform_.drives(), driveNumber_);
    diskUsage_.ShowPercentage(figures);
    diskUsage_.ShowSizes(figures);
}

// --- load monitor ---

void TForm1::Timer2Timer() {
    buildOtherPages();  // the memory page's figures
    if (const auto load = ReadCpuLoad(platform_.registry(), platform_.text())) {
        const ColourValue colour = CpuLoadColour(*load);
        Gauge6->setForeColor(colour);
        Label21->setFontColor(colour);
        Gauge6->setBackColor(colour::Navy);
        Gauge6->setProgress(*load);
        Label21->setText(FromUtf8(PercentageText(*load)));
    }
    Button2Click();
}

void TForm1::Button2Click() {
    memoryUsage_.ShowCaptions();
    const UsageFigures figures = ComputeMemoryFigures(platform_.memory().globalMemoryStatus());
    memoryUsage_.ShowSizes(figures);
    memoryUsage_.ShowPercentage(figures);
}

// --- processor ---

void TForm1::showProcessorIdentity() {
    const ProcessorIdentity identity = zelvo::ReadProcessorIdentity(platform_.registry(), platform_.text(), locations_);
    M11->setText(FromUtf8(identity.name));
    Edit4->setText(FromUtf8(identity.vendor));
}

void TForm1::KeisokuClick() {
    Memo7->setFontColor(colour::Yellow);
    Memo7->setText(kMeasuring);
    // Enabling a timer that is already enabled changes nothing: the delay runs from the first click.
    if (!Timer1->isActive())
        Timer1->start();
}

void TForm1::Timer1Timer() {
    const ClockText result = ClockFrequencyText(MeasureClock(platform_.clock()));
    Memo7->setFontColor(result.colour);
    Memo7->setText(FromUtf8(result.text));
    Timer1->stop();
    platform_.desktop().messageBeep(0);
    Label16->setVisible(true);
}

void TForm1::Memo7Change() {
    Panel11->setFocus();
}

// --- user page ---

void TForm1::applyPlatformFamily() {
    if (const auto showLoad = zelvo::DetectPlatform(platform_.identity(), locations_)) {
        Label9->setVisible(*showLoad);
        Label21->setVisible(*showLoad);
        Gauge6->setVisible(*showLoad);
    }
}

void TForm1::showStatus(const QString& text, ColourValue colour) {
    onOtherPages([this, text, colour] {
        M1->setFontColor(colour);
        M1->setText(text);
        M1->setVisible(true);
    });
}

void TForm1::Button8Click() {
    applyPlatformFamily();
    const Registration values = ReadRegistration(platform_.registry(), platform_.text(), locations_);
    onOtherPages([this, values] {
        NowName->setText(FromUtf8(values.owner));
        NowCompany->setText(FromUtf8(values.organization));
    });
    showProcessorIdentity();
    onOtherPages([this] {
        NewName->setText(NowName->text());
        NewCompany->setText(NowCompany->text());
    });
    showStatus(kViewingMessage, colour::White);
}

void TForm1::ChangeClick() {
    Panel20->setVisible(true);
    Panel25->setVisible(false);
    M1->setVisible(false);
    NewName->setFocus();
}

void TForm1::NewNameChange() {
    showStatus(kEditingHint, colour::Yellow);
}

void TForm1::TourokuClick() {
    const bool accepted = SubmitComputerName(platform_.identity(), platform_.text(), NewPCName->text().toStdString());
    if (!accepted)
        showRefusalBox(kRefusal);
    Panel25->setVisible(true);
    Panel20->setVisible(false);
    applyPlatformFamily();
    WriteRegistration(platform_.registry(), platform_.text(), locations_,
                      {NewName->text().toStdString(), NewCompany->text().toStdString()});
    Button8Click();
    if (accepted && NewPCName->text() != NowPCName->text())
        showStatus(kRestartNote, colour::Fuchsia);
    else
        showStatus(kViewingMessage, colour::White);
}

void TForm1::CancelClick() {
    Panel20->setVisible(false);
    Panel25->setVisible(true);
    showStatus(kViewingMessage, colour::White);
    Button8Click();
}

// --- facts outside the window ---

void TForm1::CopyReport() {
    FactOptions options;
    options.localeCase = ToolkitLocaleCase();
    options.startStatistics = false;  // the window's own run already
    const MachineFacts facts = GatherFacts(platform_, options);
    const ReportStamp stamp{ZELVO_VERSION, QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString()};
    QGuiApplication::clipboard()->setText(FromUtf8(TextReport(facts, stamp)));
}

// --- page changes ---

void TForm1::MemTabShow() {
    Panel8->setFocus();
}
void TForm1::CPUTabShow() {
    Panel11->setFocus();
}
void TForm1::BIOSTabShow() {
    Panel26->setFocus();
}
void TForm1::DisplayTabShow() {
    Panel29->setFocus();
}
void TForm1::UserTabShow() {
    Panel16->setFocus();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The CPU page is the one shown at start, and its show handler runs then too.
    if (!firstShowDone_) {
        firstShowDone_ = true;
        fire(&TForm1::CPUTabShow);
    }
}

void TForm1::connectWindowHandlers() {
    // Queued, so the timer's own activation returns before the handler runs: Qt does not fire a
    // timer again while its activation is still running, and an error box opened in the handler
    // would otherwise stop the ticks for as long as it is open.
    connect(
        Timer1, &QTimer::timeout, this, [this] { fire(&TForm1::Timer1Timer); }, Qt::QueuedConnection);
    connect(
        Timer2, &QTimer::timeout, this, [this] { fire(&TForm1::Timer2Timer); }, Qt::QueuedConnection);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        buildOtherPages();
        const QWidget* page = PageControl1->widget(index);
        if (page == MemTab)
            fire(&TForm1::MemTabShow);
        else if (page == CPUTab)
            fire(&TForm1::CPUTabShow);
        else if (page == BIOSTab)
            fire(&TForm1::BIOSTabShow);
        else if (page == DisplayTab)
            fire(&TForm1::DisplayTabShow);
        else if (page == UserTab)
            fire(&TForm1::UserTabShow);
    });
    connect(Memo7, &TMemo::textChanged, this, [this] { fire(&TForm1::Memo7Change); });
    Keisoku->OnClick = [this] { fire(&TForm1::KeisokuClick); };
    // A box with the focus copies its own selection instead: it takes the key first.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] { fire(&TForm1::CopyReport); });
}

void TForm1::connectOtherPagesHandlers() {
    for (TEdit* edit : {NewName, NewCompany, NewPCName})
        connect(edit, &TEdit::textChanged, this, [this] { fire(&TForm1::NewNameChange); });
    DriveComboBox1->OnChange = [this](QObject* sender) { guarded([this, sender] { DriveComboBox1Change(sender); }); };
    Touroku->OnClick = [this] { fire(&TForm1::TourokuClick); };
    Cancel->OnClick = [this] { fire(&TForm1::CancelClick); };
    Change->OnClick = [this] { fire(&TForm1::ChangeClick); };
}

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The window is on screen: the other pages are built next, before anything else is handled
    // that could need them.
    if (!otherPagesBuilt_ && !otherPagesScheduled_) {
        otherPagesScheduled_ = true;
        QTimer::singleShot(0, this, [this] { buildOtherPages(); });
    }
}

void TForm1::changeEvent(QEvent* event) {
    // A changed regional setting is picked up for the texts written from now on.
    if (event->type() == QEvent::LocaleChange) {
        platform_.text().resetThreadLocale();
        LoadNumberSeparators(platform_.text());
    }
    QWidget::changeEvent(event);
}

}  // namespace zelvo
