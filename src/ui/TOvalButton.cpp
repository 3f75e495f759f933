#include "ui/TOvalButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace zelvo {

TOvalButton::TOvalButton(QWidget* parent) : TPanel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void TOvalButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    move(x(), y() + 1);
    move(x() + 1, y());
}

void TOvalButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The release reaches the pressed panel even off it; only one over its rectangle is a click,
    // and the panel stays sunk until the action (and any box it opens) has finished.
    if (rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
    move(x(), y() - 1);
    move(x() - 1, y());
}

QBitmap EllipseMask(QSize size) {
    const int width = size.width();
    const int height = size.height();
    QBitmap mask(std::max(width, 1), std::max(height, 1));
    mask.fill(Qt::color0);
    if (width <= 0 || height <= 0)
        return mask;

    // Row by row from the ellipse's equation, measured from the centre at pixel centres: rows (and
    // columns) the same distance from the middle get the same span. Qt's own ellipse filling is
    // off by half a pixel at some sizes and would leave a lopsided rim.
    const double a = width / 2.0;
    const double b = height / 2.0;
    QPainter painter(&mask);
    for (int row = 0; row < height; ++row) {
        const double dy = (row + 0.5 - b) / b;
        const double reach = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        // A pixel is in when its centre is within `reach` of the middle; the distance of a pixel
        // centre from the middle is exact, so a column and its mirror always agree.
        int first = 0;
        while (first < width && std::abs(first + 0.5 - a) > reach)
            ++first;
        const int last = width - 1 - first;
        if (last >= first)
            painter.fillRect(QRect(first, row, last - first + 1, 1), Qt::color1);
    }
    return mask;
}

void ApplyOvalClip(QWidget* panel) {
    if (!panel)
        return;
    panel->setMask(EllipseMask(panel->size()));
    panel->update();
}

}  // namespace zelvo
