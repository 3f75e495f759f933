#include "ui/TLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>
#include <QStringList>
#include <algorithm>

#include "ui/ColourConvert.h"
#include "ui/PropertyWrite.h"

namespace zelvo {

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
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

void TLabel::setFontColor(ColourValue value) {
    if (!storeIfChanged(fontColor_, value))
        return;
    applyColours();
    if (isVisible())
        repaint();
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
    if (!realised_)
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
    palette.setColor(QPalette::WindowText, toQColor(fontColor_));
    setPalette(palette);
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        adjustBounds();
    else if (event->type() == QEvent::ApplicationPaletteChange)
        applyColours();
}

void TLabel::realise() {
    if (realised_)
        return;
    realised_ = true;
    adjustBounds();
}

void TLabel::showEvent(QShowEvent* event) {
    realise();
    QLabel::showEvent(event);
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (OnMouseDown)
        OnMouseDown();
}

}  // namespace zelvo
