#include "ui/AccessibleDriveSelector.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>

namespace zelvo {

namespace {

QString KindInWords(DriveGlyph glyph) {
    switch (glyph) {
        case DriveGlyph::Floppy:
            return QStringLiteral("リムーバブル ディスク");
        case DriveGlyph::Hard:
            return QStringLiteral("ハードディスク");
        case DriveGlyph::Network:
            return QStringLiteral("ネットワーク ドライブ");
        case DriveGlyph::Cdrom:
            return QStringLiteral("CD-ROM");
        case DriveGlyph::Ram:
            return QStringLiteral("RAM ディスク");
    }
    return QString();
}

}  // namespace

QString DriveRowSpeech(const TDriveComboBox::Row& row) {
    // The row reads "c: [LABEL]", "c: \\server\share" or "a:"; brackets are not read out, and an
    // empty label is no word at all.
    const QString letter = row.displayText.left(2);
    QString rest = row.displayText.mid(2).trimmed();
    if (rest.startsWith(QLatin1Char('[')) && rest.endsWith(QLatin1Char(']')))
        rest = rest.mid(1, rest.size() - 2).trimmed();
    QString words = letter + QLatin1Char(' ') + KindInWords(row.glyph);
    if (!rest.isEmpty())
        words += QLatin1Char(' ') + rest;
    return words;
}

void SpeakDriveRows(TDriveComboBox* selector) {
    QObject::connect(selector->model(), &QAbstractItemModel::rowsInserted, selector,
                     [selector](const QModelIndex&, int first, int last) {
                         const auto& rows = selector->rows();
                         for (int i = first; i <= last && std::size_t(i) < rows.size(); ++i)
                             selector->setItemData(i, DriveRowSpeech(rows[std::size_t(i)]), Qt::AccessibleTextRole);
                     });
}

AccessibleDriveSelector::AccessibleDriveSelector(TDriveComboBox* selector)
    : QAccessibleWidget(selector, QAccessible::ComboBox) {}

// The one child is the list of rows.
int AccessibleDriveSelector::childCount() const {
    return 1;
}

QAccessibleInterface* AccessibleDriveSelector::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(selector()->view()) : nullptr;
}

int AccessibleDriveSelector::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == selector()->view() ? 0 : -1;
}

QString AccessibleDriveSelector::text(QAccessible::Text t) const {
    const int index = selector()->currentIndex();
    const auto& rows = selector()->rows();
    QString value =
        index >= 0 && std::size_t(index) < rows.size() ? DriveRowSpeech(rows[std::size_t(index)]) : QString();
    if (t == QAccessible::Value)
        return value;
#if defined(Q_OS_UNIX)
    // AT-SPI readers take a combo box's name for the choice shown in it.
    if (t == QAccessible::Name)
        return value;
#endif
    return QAccessibleWidget::text(t);
}

QStringList AccessibleDriveSelector::actionNames() const {
    return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
}

void AccessibleDriveSelector::doAction(const QString& action) {
    if (action == showMenuAction() || action == pressAction())
        selector()->showPopup();
    else
        QAccessibleWidget::doAction(action);
}

}  // namespace zelvo
