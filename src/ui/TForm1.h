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
    explicit TForm1(platform::Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

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
    QTabWidget* PageControl1 = nullptr;
    QWidget* DiskTab = nullptr;
    QWidget* MemTab = nullptr;
    QWidget* CPUTab = nullptr;
    QWidget* BIOSTab = nullptr;
    QWidget* DisplayTab = nullptr;
    QWidget* UserTab = nullptr;

    // Disk page
    TPanel* Panel2 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label20 = nullptr;
    TGauge* Gauge5 = nullptr;
    TDriveComboBox* DriveComboBox1 = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel4 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TMemo* Memo1 = nullptr;
    TMemo* Memo2 = nullptr;
    TMemo* Memo3 = nullptr;
    TPanel* Panel5 = nullptr;
    TPanel* Panel6 = nullptr;
    TLabel* Label15 = nullptr;
    TLabel* Label14 = nullptr;
    TMemo* Memo10 = nullptr;
    TMemo* Memo9 = nullptr;

    // Memory page
    TPanel* Panel7 = nullptr;
    TLabel* Label8 = nullptr;
    TGauge* Gauge1 = nullptr;
    TLabel* Label13 = nullptr;
    TPanel* Panel8 = nullptr;
    TPanel* Panel9 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TMemo* Memo4 = nullptr;
    TMemo* Memo5 = nullptr;
    TMemo* Memo6 = nullptr;

    // CPU page
    TPanel* Panel10 = nullptr;
    TLabel* Label9 = nullptr;
    TGauge* Gauge6 = nullptr;
    TLabel* Label21 = nullptr;
    TPanel* Panel11 = nullptr;
    TPanel* Panel12 = nullptr;
    TLabel* Label16 = nullptr;
    TMemo* Memo7 = nullptr;
    TPanel* Panel13 = nullptr;
    TOvalButton* Keisoku = nullptr;
    TPanel* Panel32 = nullptr;
    TPanel* Panel33 = nullptr;
    TLabel* Label26 = nullptr;
    TLabel* Label27 = nullptr;
    TEdit* Edit4 = nullptr;
    TEdit* M11 = nullptr;

    // BIOS page
    TPanel* Panel14 = nullptr;
    TPanel* Panel26 = nullptr;
    TPanel* Panel27 = nullptr;
    TMemo* Memo8 = nullptr;
    TEdit* Edit1 = nullptr;

    // Display page
    TPanel* Panel28 = nullptr;
    TPanel* Panel29 = nullptr;
    TPanel* Panel30 = nullptr;
    TMemo* Disp1 = nullptr;
    TEdit* Edit2 = nullptr;

    // User page
    TPanel* Panel1 = nullptr;
    TMemo* M1 = nullptr;
    TPanel* Panel16 = nullptr;
    TPanel* Panel17 = nullptr;
    TLabel* Label23 = nullptr;
    TMemo* Name1 = nullptr;
    TMemo* Company1 = nullptr;
    TMemo* NowName = nullptr;
    TMemo* NowCompany = nullptr;
    TMemo* NowPCName = nullptr;
    TPanel* Panel20 = nullptr;
    TPanel* P2 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label25 = nullptr;
    TPanel* Panel21 = nullptr;
    TPanel* Panel34 = nullptr;
    TEdit* NewName = nullptr;
    TPanel* Panel22 = nullptr;
    TPanel* Panel35 = nullptr;
    TEdit* NewCompany = nullptr;
    TPanel* Panel23 = nullptr;
    TOvalButton* Touroku = nullptr;
    TPanel* Panel24 = nullptr;
    TOvalButton* Cancel = nullptr;
    TPanel* Panel31 = nullptr;
    TPanel* Panel36 = nullptr;
    TEdit* NewPCName = nullptr;
    TPanel* Panel25 = nullptr;
    TOvalButton* Change = nullptr;

    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Builds every control at its place with its colours, fonts and texts.
    void createControls();
    // Connects the controls' events to the handlers.
    void connectHandlers();
    void DetectPlatform();
    void FillBiosPage();
    void FillDisplayPage();
    void ReadProcessorIdentity();
    void showStatus(const QString& text, ColourValue colour);

    platform::Platform& platform_;
    RegistryLocations locations_;
    // The disk and memory pages' usage controls.
    UsageView diskUsage_;
    UsageView memoryUsage_;
    bool destroyed_ = false;
    bool firstShowDone_ = false;
    // The drive number of the disk page: 0 is the current drive, 1 to 26 are A: to Z:.
    int driveNumber_ = 0;
};

// The window currently being created or shown; the start-up sequence reads its size through it.
extern QPointer<TForm1> Form1;

}  // namespace zelvo
