#pragma once
// The main window: six pages of the machine's environment. Controls carry their form names; the
// page logic lives in the probes, and the handlers here only move their results into controls.

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "probes/Colour.h"
#include "probes/RegistryLocations.h"
#include "ui/UsageView.h"
#include "ui/WindowCentring.h"

class QTabWidget;
class QTimer;

namespace zelvo {

class TPanel;
class TLabel;
class TMemo;
class TEdit;
class TGauge;
class TDriveComboBox;
class TOvalButton;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Whether the pages behind the CPU page, the one shown at start, are built with the window or
    // once it is first painted, so that it appears sooner; either way the window is the same.
    enum class PageBuild { AllAtOnce, ShownPageFirst };

    explicit TForm1(platform::Platform& platform, QWidget* parent = nullptr,
                    PageBuild pageBuild = PageBuild::AllAtOnce);
    ~TForm1() override;

    // Builds the other pages now if they are not built yet; what start-up had for them is put in
    // as it would have been.
    void buildOtherPages();
    bool otherPagesBuilt() const { return otherPagesBuilt_; }

    // The start-up sequence; run once after construction, before the window is first shown.
    void FormCreate();
    // The shutdown step; also run by the destructor if it has not run.
    void FormDestroy();

    // Seams for tests and the snapshot tool: how the boxes are shown and how big the screen is.
    std::function<void(const QString& text)> showErrorBox;  // the text as the box shows it
    std::function<void(const QString& message)> showRefusalBox;
    std::function<QSize()> screenSize;

    // Runs `step` so that an error skips the rest of it and is shown in the error box; false
    // when it ended in an error. Every event reaches its handler through here.
    bool guarded(const std::function<void()>& step);
    // Runs one handler as an event would.
    void fire(void (TForm1::*handler)());

    // --- handlers ---
    void Timer1Timer();
    void Timer2Timer();
    void Button1Click();
    void Button2Click();
    void Button8Click();
    void DriveComboBox1Change(QObject* sender);
    void KeisokuClick();
    void ChangeClick();
    void NewNameChange();
    void TourokuClick();
    void CancelClick();
    void Memo7Change();
    void MemTabShow();
    void CPUTabShow();
    void BIOSTabShow();
    void DisplayTabShow();
    void UserTabShow();
    // Ctrl+C: the whole text report to the clipboard; the pages stay as they are.
    void CopyReport();

    // --- controls, by form name ---
    // Those of the disk, memory, BIOS, display and user pages are null until those pages are built.
    QTabWidget* PageControl1 = nullptr;
    QWidget* DiskTab = nullptr;
    QWidget* MemTab = nullptr;
    QWidget* CPUTab = nullptr;
    QWidget* BIOSTab = nullptr;
    QWidget* DisplayTab = nullptr;
    QWidget* UserTab = nullptr;

    // Disk page
    TPanel* Panel2 = nullptr;   // page background
    TLabel* Label12 = nullptr;  // caption of the use gauge, "使用率"
    TLabel* Label20 = nullptr;  // the gauge's per cent as text
    TGauge* Gauge5 = nullptr;   // pie of the drive's use
    TDriveComboBox* DriveComboBox1 = nullptr;
    TPanel* Panel3 = nullptr;  // outline and inside of the size box
    TPanel* Panel4 = nullptr;
    TLabel* Label2 = nullptr;  // captions 全容量, 使用量, 空容量
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TMemo* Memo1 = nullptr;  // total, used and free size of the drive
    TMemo* Memo2 = nullptr;
    TMemo* Memo3 = nullptr;
    TPanel* Panel5 = nullptr;  // outline and inside of the volume box
    TPanel* Panel6 = nullptr;
    TLabel* Label15 = nullptr;  // captions ファイルシステム and シリアル番号
    TLabel* Label14 = nullptr;
    TMemo* Memo10 = nullptr;  // file-system name
    TMemo* Memo9 = nullptr;   // volume serial, eight hex digits

    // Memory page
    TPanel* Panel7 = nullptr;  // page background
    TLabel* Label8 = nullptr;  // caption of the load gauge; Label13 its per cent as text
    TGauge* Gauge1 = nullptr;  // pie of the memory load, renewed by Timer2
    TLabel* Label13 = nullptr;
    TPanel* Panel8 = nullptr;  // outline and inside of the size box
    TPanel* Panel9 = nullptr;
    TLabel* Label5 = nullptr;  // captions 全容量, 使用量, 空容量
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TMemo* Memo4 = nullptr;  // total, used and free physical memory
    TMemo* Memo5 = nullptr;
    TMemo* Memo6 = nullptr;

    // CPU page
    TPanel* Panel10 = nullptr;  // page background
    TLabel* Label9 = nullptr;   // caption of the processor-load gauge; Label21 its per cent (9x family only)
    TGauge* Gauge6 = nullptr;   // pie of the processor load (9x family only)
    TLabel* Label21 = nullptr;
    TPanel* Panel11 = nullptr;       // outline of the clock box; takes the focus when a figure arrives
    TPanel* Panel12 = nullptr;       // inside of the clock box
    TLabel* Label16 = nullptr;       // caption 周波数 of the clock figure
    TMemo* Memo7 = nullptr;          // the measured clock frequency, or the measuring note
    TPanel* Panel13 = nullptr;       // oval frame of Keisoku
    TOvalButton* Keisoku = nullptr;  // "クロック 計測": starts the clock measurement
    TPanel* Panel32 = nullptr;       // outline and inside of the processor identity box
    TPanel* Panel33 = nullptr;
    TLabel* Label26 = nullptr;  // captions Name and Vendor
    TLabel* Label27 = nullptr;
    TEdit* Edit4 = nullptr;  // processor vendor
    TEdit* M11 = nullptr;    // processor name

    // BIOS page
    TPanel* Panel14 = nullptr;  // page background; Panel26/27 the box
    TPanel* Panel26 = nullptr;
    TPanel* Panel27 = nullptr;
    TMemo* Memo8 = nullptr;  // BIOS strings, one per line
    TEdit* Edit1 = nullptr;  // heading of the BIOS box

    // Display page
    TPanel* Panel28 = nullptr;  // page background; Panel29/30 the box
    TPanel* Panel29 = nullptr;
    TPanel* Panel30 = nullptr;
    TMemo* Disp1 = nullptr;  // display modes: number, size, colours, bits
    TEdit* Edit2 = nullptr;  // heading of the display box

    // User page
    TPanel* Panel1 = nullptr;   // page background
    TMemo* M1 = nullptr;        // status message of the registration
    TPanel* Panel16 = nullptr;  // outline and inside of the registered-values box
    TPanel* Panel17 = nullptr;
    TLabel* Label23 = nullptr;  // caption ＰＣ名
    TMemo* Name1 = nullptr;     // caption 使用者; Company1 caption 会社名
    TMemo* Company1 = nullptr;
    TMemo* NowName = nullptr;  // registered owner, organization and computer name as they stand
    TMemo* NowCompany = nullptr;
    TMemo* NowPCName = nullptr;
    TPanel* Panel20 = nullptr;  // the editor, shown by Change; P2 its inside
    TPanel* P2 = nullptr;
    TLabel* Label10 = nullptr;  // the editor's captions 使用者, 会社名, ＰＣ名
    TLabel* Label11 = nullptr;
    TLabel* Label25 = nullptr;
    TPanel* Panel21 = nullptr;  // frames of the editor's three boxes (Panel21/34, 22/35, 31/36)
    TPanel* Panel34 = nullptr;
    TEdit* NewName = nullptr;  // new owner; NewCompany and NewPCName likewise
    TPanel* Panel22 = nullptr;
    TPanel* Panel35 = nullptr;
    TEdit* NewCompany = nullptr;
    TPanel* Panel23 = nullptr;       // oval frame of Touroku
    TOvalButton* Touroku = nullptr;  // "登　録": writes the new values and hands over the computer name
    TPanel* Panel24 = nullptr;       // oval frame of Cancel
    TOvalButton* Cancel = nullptr;   // "キャンセル": closes the editor unchanged
    TPanel* Panel31 = nullptr;
    TPanel* Panel36 = nullptr;
    TEdit* NewPCName = nullptr;
    TPanel* Panel25 = nullptr;      // oval frame of Change
    TOvalButton* Change = nullptr;  // "登録変更": opens the editor

    QTimer* Timer1 = nullptr;  // runs the clock measurement a second after Keisoku
    QTimer* Timer2 = nullptr;  // every 2 s: the processor load (9x family) and the memory page

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Build every control at its place with its colours, fonts and texts: the window with its page
    // control, the CPU page, and the other five pages.
    void createWindow();
    void createCpuPage();
    void createOtherPages();
    // Connect the controls' events to the handlers, for the window and the CPU page and for the
    // other pages.
    void connectWindowHandlers();
    void connectOtherPagesHandlers();
    // Runs `fill` on the other pages' controls: now if they are built, else once they are, in the
    // order the fills came.
    void onOtherPages(std::function<void()> fill);
    // Which family the machine is of: where its registration lives, and whether the load gauge shows.
    void applyPlatformFamily();
    void showBiosPage();
    void FillDisplayPage();
    void showProcessorIdentity();
    void showStatus(const QString& text, ColourValue colour);

    platform::Platform& platform_;
    RegistryLocations locations_;
    // The disk and memory pages' usage controls.
    UsageView diskUsage_;
    UsageView memoryUsage_;
    bool destroyed_ = false;
    bool firstShowDone_ = false;
    bool otherPagesBuilt_ = false;
    bool otherPagesScheduled_ = false;
    std::vector<std::function<void()>> pendingFills_;
    // The drive number of the disk page: 0 is the current drive, 1 to 26 are A: to Z:.
    int driveNumber_ = 0;
};

// The window currently being created or shown; the start-up sequence reads its size through it.
extern QPointer<TForm1> Form1;

}  // namespace zelvo
