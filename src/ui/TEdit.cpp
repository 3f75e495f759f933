#include "ui/TEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QProxyStyle>

namespace zelvo {

// The line edit has no setting for its caret; it asks its style for the caret's width at every
// paint, so a style of its own that answers 0 hides the caret of this one box.
class CaretStyle : public QProxyStyle {
public:
    explicit CaretStyle(const QString& baseKey) : QProxyStyle(baseKey) {}

    bool caretHidden = false;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth && caretHidden)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

TEdit::TEdit(QWidget* parent) : TTextBox(parent) {
    caretStyle_ = new CaretStyle(QApplication::style()->name());
    caretStyle_->setParent(this);
    setStyle(caretStyle_);
    // The system's one-line edit draws its text at the top of the box.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    applyColours();
}

void TEdit::setText(const QString& value) {
    if (value == text())
        return;
    QLineEdit::setText(value);
    // Like the system's edit, a new text shows from its start with the caret before it.
    setCursorPosition(0);
    repaintNow();
}

void TEdit::setArrowCursor(bool value) {
    arrowCursor_ = value;
    setCursor(value ? Qt::ArrowCursor : Qt::IBeamCursor);
}

void TEdit::applyCaret(bool hidden) {
    caretStyle_->caretHidden = hidden;
    update();
}

void TEdit::realiseNow() {
    QEvent fontChange(QEvent::FontChange);
    // The Qt box's own font handling, held back until now (TControl.h).
    QLineEdit::changeEvent(&fontChange);  // NOLINT(bugprone-parent-virtual-call)
}

void TEdit::focusInEvent(QFocusEvent* event) {
    TTextBox::focusInEvent(event);
    // Entering the box other than by a click selects all of its text (Qt does so itself only for
    // the Tab keys and shortcuts); returning to the window or from a menu keeps the selection.
    if (event->reason() == Qt::OtherFocusReason)
        selectAll();
}

}  // namespace zelvo
