#include "ui/AccessibleNames.h"

#include <QAccessible>
#include <QTabWidget>
#include <initializer_list>
#include <utility>

#include "ui/AccessibleControls.h"
#include "ui/AccessibleDriveSelector.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TForm1.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"

namespace zelvo {

namespace {

void nameByCaption(QWidget* box, TLabel* caption) {
    box->setAccessibleName(caption->text());
    caption->setBuddy(box);
}

QString headingText(const TEdit* heading) {
    return heading->text().simplified();
}

QString pageCaption(const TForm1& f, QWidget* page) {
    return f.PageControl1->tabText(f.PageControl1->indexOf(page));
}

void announceShare(TGauge* gauge) {
    QObject::connect(gauge, &TGauge::percentageChanged, gauge, [gauge](int percentage) {
        QAccessibleValueChangeEvent event(gauge, percentage);
        QAccessible::updateAccessibility(&event);
    });
}

}  // namespace

void NameShownPageForScreenReaders(TForm1& f) {
    InstallAccessibleControls();
    // A window of its own, not a filler; the page control hands its focus to the tabs.
    SetAccessibleRole(&f, QAccessible::Window);
    SetAccessibleRole(f.PageControl1, QAccessible::Pane);

    // Pages, and the CPU page's panel the page rule gives the focus to.
    for (QWidget* page : {f.DiskTab, f.MemTab, f.CPUTab, f.BIOSTab, f.DisplayTab, f.UserTab}) {
        SetAccessibleRole(page, QAccessible::Pane);
        page->setAccessibleName(pageCaption(f, page));
    }
    f.Panel11->setAccessibleName(pageCaption(f, f.CPUTab));

    nameByCaption(f.Gauge6, f.Label9);
    nameByCaption(f.Memo7, f.Label16);
    nameByCaption(f.M11, f.Label26);
    nameByCaption(f.Edit4, f.Label27);
    announceShare(f.Gauge6);
}

void NameOtherPagesForScreenReaders(TForm1& f) {
    // The panels the page rule gives the focus to.
    for (const auto& [page, panel] : {std::pair<QWidget*, TPanel*>{f.MemTab, f.Panel8},
                                      {f.BIOSTab, f.Panel26},
                                      {f.DisplayTab, f.Panel29},
                                      {f.UserTab, f.Panel16}})
        panel->setAccessibleName(pageCaption(f, page));

    // Disk page.
    f.DriveComboBox1->setAccessibleName(QStringLiteral("ドライブ"));
    SpeakDriveRows(f.DriveComboBox1);
    nameByCaption(f.Gauge5, f.Label12);
    nameByCaption(f.Memo1, f.Label2);
    nameByCaption(f.Memo2, f.Label3);
    nameByCaption(f.Memo3, f.Label4);
    nameByCaption(f.Memo10, f.Label15);
    nameByCaption(f.Memo9, f.Label14);

    // Memory page.
    nameByCaption(f.Gauge1, f.Label8);
    nameByCaption(f.Memo4, f.Label5);
    nameByCaption(f.Memo5, f.Label6);
    nameByCaption(f.Memo6, f.Label7);

    // BIOS and display pages: the lines are named by the heading above them.
    f.Memo8->setAccessibleName(headingText(f.Edit1));
    f.Disp1->setAccessibleName(headingText(f.Edit2));

    // User page: 使用者 and 会社名 are boxes that stand as captions.
    f.NowName->setAccessibleName(f.Name1->text().simplified());
    f.NowCompany->setAccessibleName(f.Company1->text().simplified());
    nameByCaption(f.NowPCName, f.Label23);
    nameByCaption(f.NewName, f.Label10);
    nameByCaption(f.NewCompany, f.Label11);
    nameByCaption(f.NewPCName, f.Label25);
    f.M1->setAccessibleName(QStringLiteral("メッセージ"));

    for (QWidget* heading : std::initializer_list<QWidget*>{f.Edit1, f.Edit2, f.Name1, f.Company1})
        SetAccessibleRole(heading, QAccessible::StaticText);
    for (TGauge* gauge : {f.Gauge5, f.Gauge1})
        announceShare(gauge);
}

}  // namespace zelvo
