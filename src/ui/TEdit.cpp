#include "ui/TEdit.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QProxyStyle>

#include "ui/ColourConvert.h"
#include "ui/PropertyWrite.h"

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

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
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
    if (isVisible())
        repaint();
}

void TEdit::setColor(ColourValue value) {
    if (!storeIfChanged(color_, value))
        return;
    applyColours();
    if (isVisible())
        repaint();
}

void TEdit::setFontColor(ColourValue value) {
    if (!storeIfChanged(fontColor_, value))
        return;
    applyColours();
    if (isVisible())
        repaint();
}

void TEdit::setArrowCursor(bool value) {
    arrowCursor_ = value;
    setCursor(value ? Qt::ArrowCursor : Qt::IBeamCursor);
}

void TEdit::applyColours() {
    QPalette palette = this->palette();
    const QColor back = toQColor(color_);
    palette.setColor(QPalette::Base, back);
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Text, toQColor(fontColor_));
    setPalette(palette);
}

void TEdit::setCaretHidden(bool value) {
    if (value == caretHidden_)
        return;
    caretHidden_ = value;
    caretStyle_->caretHidden = value;
    update();
}

void TEdit::hideCaret() {
    setCaretHidden(true);
}

void TEdit::realise() {
    if (realised_)
        return;
    realised_ = true;
    QEvent fontChange(QEvent::FontChange);
    QLineEdit::changeEvent(&fontChange);
}

void TEdit::showEvent(QShowEvent* event) {
    realise();
    QLineEdit::showEvent(event);
}

void TEdit::changeEvent(QEvent* event) {
    if (!realised_ && event->type() == QEvent::FontChange) {
        QWidget::changeEvent(event);
        return;
    }
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyColours();
}

void TEdit::focusInEvent(QFocusEvent* event) {
    realise();
    setCaretHidden(false);
    QLineEdit::focusInEvent(event);
    // Entering the box other than by a click selects all of its text (Qt does so itself only for
    // the Tab keys and shortcuts); returning to the window or from a menu keeps the selection.
    if (event->reason() == Qt::OtherFocusReason)
        selectAll();
}

void TEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (OnMouseDown)
        OnMouseDown();
}

}  // namespace zelvo
