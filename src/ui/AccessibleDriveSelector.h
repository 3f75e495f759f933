#pragma once
// The drive selector as an assistive technology meets it: a combo box whose rows, and whose value,
// say the drive letter, the kind of drive in words and the label ("c: ハードディスク SYSTEM"), where
// the screen shows a glyph for the kind.

#include <QAccessibleWidget>
#include <QString>

#include "ui/TDriveComboBox.h"

namespace zelvo {

// The words for one row.
QString DriveRowSpeech(const TDriveComboBox::Row& row);

// Gives each row the selector builds its words, for the rows of its list.
void SpeakDriveRows(TDriveComboBox* selector);

class AccessibleDriveSelector : public QAccessibleWidget {
public:
    explicit AccessibleDriveSelector(TDriveComboBox* selector);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    TDriveComboBox* selector() const { return static_cast<TDriveComboBox*>(widget()); }
};

}  // namespace zelvo
