#pragma once
// What assistive technologies (AT-SPI on Linux, UI Automation on Windows) are told about the
// program's own controls, through Qt's accessibility factory:
// - a gauge is a progress bar, its share as the value ("42 %");
// - an oval button is a push button named by its caption, with a press action;
// - a panel is a pane that takes no focus: the pages' backgrounds and frames stay out of the way,
//   and a panel with a name says where the focus went;
// - the drive selector is a combo box (AccessibleDriveSelector.h).
// Any widget can also be given the pane or the static-text role (a heading, read by its text).

#include <QAccessible>

class QWidget;

namespace zelvo {

// Installs the factory; once per process, further calls do nothing.
void InstallAccessibleControls();

// Presents `widget` with `role`: QAccessible::StaticText (named by its text, which it keeps only in
// a text box), QAccessible::Pane (never focusable) or any other role with Qt's generic interface.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

}  // namespace zelvo
