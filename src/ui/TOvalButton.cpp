#include "ui/TOvalButton.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/GaugeRaster.h"

namespace zelvo {

TOvalPanel::TOvalPanel(QWidget* parent) : TPanel(parent) {}

void TOvalPanel::setOval(bool value) {
    if (value == oval_)
        return;
    oval_ = value;
    updateClip();
}

void TOvalPanel::updateClip() {
    if (!oval_) {
        clearMask();
        setAttribute(Qt::WA_OpaquePaintEvent, true);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    setMask(OvalMask(size(), ratio));
    // Between whole pixels the mask lets in device pixels outside the ellipse; those show what lies
    // beneath, so the parent is painted there first.
    setAttribute(Qt::WA_OpaquePaintEvent, ratio == 1.0);
    update();
}

void TOvalPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (oval_ && devicePixelRatioF() != 1.0) {
        const QTransform toDevice = painter.deviceTransform();
        painter.setClipPath(DeviceOval(size(), toDevice));
        // The panel also keeps within an oval parent's ellipse, as its mask keeps it at one device
        // pixel per pixel.
        const auto* parentOval = qobject_cast<const TOvalPanel*>(parentWidget());
        if (parentOval && parentOval->oval()) {
            const QTransform fromParent = QTransform::fromTranslate(-x(), -y());
            painter.setClipPath(fromParent.map(DeviceOval(parentOval->size(), fromParent * toDevice)),
                                Qt::IntersectClip);
        }
    }
    paintPanel(painter, event->rect());
}

void TOvalPanel::resizeEvent(QResizeEvent* event) {
    TPanel::resizeEvent(event);
    if (oval_)
        updateClip();
}

bool TOvalPanel::event(QEvent* event) {
    // Moved to a screen of another density.
    if (event->type() == QEvent::ScreenChangeInternal && oval_)
        updateClip();
    return TPanel::event(event);
}

namespace {

bool isPressKey(const QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const int key = event->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TOvalButton::TOvalButton(QWidget* parent) : TOvalPanel(parent) {
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab; a click leaves the focus where it was, as the panel it is always did.
    setFocusPolicy(Qt::TabFocus);
}

void TOvalButton::sink() {
    sunk_ = true;
    move(x(), y() + 1);
    move(x() + 1, y());
}

void TOvalButton::rise(bool click) {
    // The panel stays sunk until the action (and any box it opens) has finished.
    if (click && OnClick)
        OnClick();
    sunk_ = false;
    move(x(), y() - 1);
    move(x() - 1, y());
}

void TOvalButton::press() {
    if (sunk_)
        return;
    sink();
    rise(true);
}

void TOvalButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || sunk_)
        return;
    sink();
}

void TOvalButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !sunk_ || keyHeld_)
        return;
    // The release reaches the pressed panel even off it; only one over its rectangle is a click.
    rise(rect().contains(event->position().toPoint()));
}

void TOvalButton::keyPressEvent(QKeyEvent* event) {
    if (!isPressKey(event)) {
        TOvalPanel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && !sunk_) {
        keyHeld_ = true;
        sink();
    }
}

void TOvalButton::keyReleaseEvent(QKeyEvent* event) {
    if (!isPressKey(event)) {
        TOvalPanel::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || !keyHeld_)
        return;
    keyHeld_ = false;
    rise(true);
}

void TOvalButton::focusOutEvent(QFocusEvent* event) {
    // A key held while the focus moves away lets the button up without a click.
    if (keyHeld_) {
        keyHeld_ = false;
        rise(false);
    }
    TOvalPanel::focusOutEvent(event);
}

QBitmap EllipseMask(QSize size) {
    const int width = size.width();
    const int height = size.height();
    QBitmap mask(std::max(width, 1), std::max(height, 1));
    mask.fill(Qt::color0);
    // Row by row, the same pixels as the gauge's ellipses: Qt's own ellipse filling is off by half a
    // pixel at some sizes and would leave a lopsided rim.
    const std::vector<raster::Span> spans = raster::ellipseSpans({0, 0, width, height});
    QPainter painter(&mask);
    for (int row = 0; row < int(spans.size()); ++row) {
        const raster::Span span = spans[std::size_t(row)];
        if (span.last >= span.first)
            painter.fillRect(QRect(span.first, row, span.last - span.first + 1, 1), Qt::color1);
    }
    return mask;
}

QRegion OvalMask(QSize size, qreal ratio) {
    if (ratio == 1.0 || size.isEmpty())
        return QRegion(EllipseMask(size));
    // A pixel is in when its square, grown by a device pixel on every side for where the device
    // grid falls, meets the ellipse.
    const double a = size.width() / 2.0;
    const double b = size.height() / 2.0;
    const double grow = 1.0 / ratio;
    QRegion mask;
    for (int row = 0; row < size.height(); ++row) {
        const double top = row - grow;
        const double bottom = row + 1 + grow;
        const double nearest = top <= b && b <= bottom ? 0.0 : std::min(std::abs(top - b), std::abs(bottom - b));
        if (nearest >= b)
            continue;
        const double reach = a * std::sqrt(1.0 - (nearest / b) * (nearest / b));
        const int first = std::max(0, int(std::floor(a - reach - grow)));
        const int last = std::min(size.width() - 1, int(std::ceil(a + reach + grow)) - 1);
        if (last >= first)
            mask += QRect(first, row, last - first + 1, 1);
    }
    return mask;
}

QPainterPath DeviceOval(QSize size, const QTransform& toDevice) {
    // The device pixels a fill of the rectangle covers: those between the rounded images of its
    // corners.
    const QPointF origin = toDevice.map(QPointF(0, 0));
    const QPointF end = toDevice.map(QPointF(size.width(), size.height()));
    const raster::Box box{qRound(origin.x()), qRound(origin.y()), qRound(end.x()), qRound(end.y())};
    QPainterPath device;
    const std::vector<raster::Span> spans = raster::ellipseSpans(box);
    for (int row = 0; row < int(spans.size()); ++row) {
        const raster::Span span = spans[std::size_t(row)];
        // A quarter of a device pixel in from the pixels' edges, so that the way back through the
        // painter's transform decides each pixel alike whether it tests pixel centres or coverage.
        if (span.last >= span.first)
            device.addRect(QRectF(span.first + 0.25, box.top + row + 0.25, span.last - span.first + 0.5, 0.5));
    }
    return toDevice.inverted().map(device);
}

void ApplyOvalClip(QWidget* panel) {
    if (!panel)
        return;
    if (auto* oval = qobject_cast<TOvalPanel*>(panel))
        oval->setOval(true);
    else
        panel->setMask(EllipseMask(panel->size()));
    panel->update();
}

}  // namespace zelvo
