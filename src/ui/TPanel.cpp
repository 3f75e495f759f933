#include "ui/TPanel.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/ColourConvert.h"

namespace zelvo {

TPanel::TPanel(QWidget* parent) : TColoured(parent, colour::ButtonFace, colour::WindowText) {
    // The panel paints all of itself; system colours are resolved at each paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TPanel::setCaption(const QString& value) {
    if (storeIfChanged(caption_, value))
        repaintNow();
}

void TPanel::setBorderColor(std::optional<ColourValue> value) {
    if (value == borderColor_)
        return;
    borderColor_ = value;
    const int margin = borderColor_ ? 1 : 0;
    setContentsMargins(margin, margin, margin, margin);
    repaintNow();
}

void TPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintPanel(painter, event->rect());
}

void TPanel::paintPanel(QPainter& painter, const QRect& area) {
    painter.fillRect(area, toQColor(color()));
    if (borderColor_) {
        painter.setPen(toQColor(*borderColor_));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!caption_.isEmpty()) {
        painter.setFont(font());
        painter.setPen(toQColor(fontColor()));
        painter.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, caption_);
    }
}

}  // namespace zelvo
