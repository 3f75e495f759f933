#include "ui/TLabel.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

namespace zelvo {

TLabel::TLabel(QWidget* parent) : TControl(parent, colour::WindowColour, colour::WindowText) {
    setAutoFillBackground(false);
    setTextFormat(Qt::PlainText);
    setMargin(0);
    setIndent(0);
    setFocusPolicy(Qt::NoFocus);
    QLabel::setAlignment(Qt::AlignLeft | Qt::AlignTop);
    applyColours();
}

void TLabel::setText(const QString& value) {
    if (value == text())
        return;
    QLabel::setText(value);
    adjustBounds();
}

void TLabel::setRightJustify(bool value) {
    rightJustify_ = value;
    QLabel::setAlignment((value ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
}

QSize TLabel::textSize() const {
    const QFontMetrics metrics(font());
    const QStringList lines = text().split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {width, metrics.height() * int(lines.size())};
}

void TLabel::adjustBounds() {
    if (!realised())
        return;
    const QRect old = geometry();
    const QSize size = textSize();
    const int left = rightJustify_ ? old.x() + old.width() - size.width() : old.x();
    setGeometry(left, old.y(), size.width(), size.height());
    // The label lies on its parent's surface: the area it left and the area it took are both
    // redrawn at once.
    if (isVisible() && parentWidget())
        parentWidget()->repaint(old.united(geometry()));
}

void TLabel::applyColours() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, toQColor(fontColor()));
    setPalette(palette);
}

void TLabel::changeEvent(QEvent* event) {
    TControl::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        adjustBounds();
}

}  // namespace zelvo
