#include "ui/KeyboardOrder.h"

#include <QTabBar>
#include <QTabWidget>
#include <initializer_list>

#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TForm1.h"
#include "ui/TGauge.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"

namespace zelvo {

void SetShownPageFocus(TForm1& f) {
    f.Gauge6->setFocusPolicy(Qt::TabFocus);
}

void SetReadingOrder(TForm1& f) {
    for (QWidget* heading : std::initializer_list<QWidget*>{f.Edit1, f.Edit2, f.Name1, f.Company1})
        heading->setFocusPolicy(Qt::ClickFocus);
    for (TGauge* gauge : {f.Gauge5, f.Gauge1})
        gauge->setFocusPolicy(Qt::TabFocus);

    const std::initializer_list<QWidget*> order = {
        f.PageControl1->tabBar(),
        // disk
        f.DriveComboBox1, f.Gauge5, f.Memo1, f.Memo2, f.Memo3, f.Memo10, f.Memo9,
        // memory
        f.Panel8, f.Gauge1, f.Memo4, f.Memo5, f.Memo6,
        // CPU
        f.Panel11, f.Gauge6, f.Memo7, f.M11, f.Edit4, f.Keisoku,
        // BIOS and display
        f.Panel26, f.Memo8, f.Panel29, f.Disp1,
        // user, with the editor's fields and buttons between the current values and 登録変更
        f.Panel16, f.NowName, f.NowCompany, f.NowPCName, f.NewName, f.NewCompany, f.NewPCName, f.Touroku, f.Cancel,
        f.Change, f.M1};
    // Qt links only widgets that take the focus; the focus panels are linked while they do, and
    // then go back to being passed over by Tab.
    const std::initializer_list<QWidget*> panels = {f.Panel8, f.Panel11, f.Panel26, f.Panel29, f.Panel16};
    for (QWidget* panel : panels)
        panel->setFocusPolicy(Qt::TabFocus);
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    for (QWidget* panel : panels)
        panel->setFocusPolicy(Qt::NoFocus);
}

}  // namespace zelvo
