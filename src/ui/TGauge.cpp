#include "TGauge.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "ColourConvert.h"
#include "GaugeRaster.h"
#include "TBltBitmap.h"
#include "platform/Errors.h"
#include "platform/MessageFormat.h"
#include "ui/PropertyWrite.h"

namespace zelvo {

namespace {

constexpr const char* kRangeMessage = "%d から %d の間の値でなければなりません";

int toIntRange(double value) {
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return int(std::clamp(value, lo, hi));
}

// Round to nearest, an exact half to the even neighbour.
int roundEven(double value) {
    return toIntRange(std::nearbyint(value));
}

EInvalidOperation rangeError(std::int64_t low, std::int64_t high) {
    return EInvalidOperation(formatMessage(formatMessage(kRangeMessage, std::to_string(low)), std::to_string(high)));
}

QRgb rgbOf(ColourValue value) {
    return toQColor(value).rgb();
}

void fillRect(QImage& image, int left, int top, int right, int bottom, ColourValue colour) {
    if (right <= left || bottom <= top)
        return;
    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), toQColor(colour));
}

}  // namespace

int PercentOf(std::int64_t part, std::int64_t whole) {
    if (whole == 0)
        return 0;
    return toIntRange(std::trunc(double(part) * 100.0 / double(whole)));
}

int ScaleByPercent(int percentage, int whole) {
    return toIntRange(std::trunc(double(whole) * (double(percentage) * 0.01)));
}

QPoint PieStartPoint(int percentage, int halfW, int halfH) {
    const double angle = (double(percentage) / 50.0 + 0.5) * std::numbers::pi;
    return QPoint(roundEven(halfW * (1.0 - std::cos(angle))), roundEven(halfH * (1.0 - std::sin(angle))));
}

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    // Opaque: the gauge paints every pixel of its bounds, so nothing needs to be drawn beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

template <typename T>
void TGauge::assign(T& field, T value) {
    if (storeIfChanged(field, value))
        repaintNow();
}

void TGauge::setMinValue(int value) {
    if (value == minValue_)
        return;
    if (value > maxValue_ && !loading_)
        // −2147483647, one above the type's least value, is the lower bound the message has always
        // named; meant, not a typo.
        throw rangeError(-2147483647, std::int64_t(maxValue_) - 1);
    const int before = Percentage();
    minValue_ = value;
    if (progress_ < value)
        progress_ = value;
    repaintNow();
    announcePercentage(before);
}

void TGauge::setMaxValue(int value) {
    if (value == maxValue_)
        return;
    if (value < minValue_ && !loading_)
        throw rangeError(std::int64_t(minValue_) + 1, 2147483647);
    const int before = Percentage();
    maxValue_ = value;
    if (progress_ > value)
        progress_ = value;
    repaintNow();
    announcePercentage(before);
}

void TGauge::setProgress(int value) {
    const int before = Percentage();
    if (value < minValue_)
        value = minValue_;
    if (value > maxValue_)
        value = maxValue_;
    if (value == progress_)
        return;
    progress_ = value;
    if (Percentage() != before)
        repaintNow();
    announcePercentage(before);
}

void TGauge::setKind(TGaugeKind value) {
    assign(kind_, value);
}
void TGauge::setShowText(bool value) {
    assign(showText_, value);
}
void TGauge::setBorderStyle(TBorderStyle value) {
    assign(borderStyle_, value);
}
void TGauge::setForeColor(ColourValue value) {
    assign(foreColor_, value);
}
void TGauge::setBackColor(ColourValue value) {
    assign(backColor_, value);
}

ColourValue TGauge::Color() const {
    if (parentColor_ && parentWidget() != nullptr) {
        const QColor c = parentWidget()->palette().color(parentWidget()->backgroundRole());
        return rgbColour(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
    }
    return color_;
}

void TGauge::setColor(ColourValue value) {
    const bool changed = value != Color();
    color_ = value;
    parentColor_ = false;
    if (changed)
        repaintNow();
}

void TGauge::setParentColor(bool value) {
    if (value == parentColor_)
        return;
    const ColourValue before = Color();
    parentColor_ = value;
    if (Color() != before)
        repaintNow();
}

int TGauge::Percentage() const {
    // Differences in 64 bits: a range wider than the int range still gives a true percentage.
    return PercentOf(std::int64_t(progress_) - minValue_, std::int64_t(maxValue_) - minValue_);
}

void TGauge::announcePercentage(int before) {
    if (Percentage() != before)
        Q_EMIT percentageChanged(Percentage());
}

void TGauge::repaintNow() {
    // Synchronous: the new picture is on screen when the write returns. Hidden gauges skip it.
    if (isVisible())
        repaint();
}

void TGauge::paintEvent(QPaintEvent*) {
    ++paintCount_;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0) {
        const QImage picture = renderImage();
        if (!picture.isNull())
            painter.drawImage(0, 0, picture);
        return;
    }
    // On a denser screen the picture is composed at the device pixels the control covers and drawn
    // unscaled from the device pixel where it starts, which may lie between two of the control's
    // own pixels.
    const QTransform toDevice = painter.deviceTransform();
    const QPointF origin = toDevice.map(QPointF(0, 0));
    const QPointF end = toDevice.map(QPointF(width(), height()));
    const QPoint first(qRound(origin.x()), qRound(origin.y()));
    const QImage picture = compose(QSize(qRound(end.x()) - first.x(), qRound(end.y()) - first.y()), ratio);
    if (picture.isNull())
        return;
    painter.setWorldTransform(
        QTransform(1 / ratio, 0, 0, 1 / ratio, (first.x() - origin.x()) / ratio, (first.y() - origin.y()) / ratio));
    painter.drawImage(0, 0, picture);
}

QImage TGauge::renderImage(qreal ratio) const {
    QImage image = compose(QSize(qRound(width() * ratio), qRound(height() * ratio)), ratio);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage TGauge::compose(QSize device, qreal ratio) const {
    if (device.isEmpty())
        return QImage();
    QImage image(device, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    bltClearToBlack(image);

    // The border is one pixel of the control, as many device pixels wide as that pixel covers.
    Bounds r{0, 0, device.width(), device.height(), 0};
    if (borderStyle_ == bsSingle) {
        const int border = std::max(1, qRound(ratio));
        r = Bounds{border, border, device.width() - border, device.height() - border, border};
    }

    TBltBitmap overlay;
    overlay.MakeLike(image);
    bltClearToBlack(overlay);
    switch (kind_) {
        case gkText:
            fillRect(overlay, r.left, r.top, r.right, r.bottom, backColor_);
            break;
        case gkHorizontalBar:
            drawHorizontalBar(overlay, r);
            break;
        case gkVerticalBar:
            drawVerticalBar(overlay, r);
            break;
        case gkPie:
            drawPie(overlay, r);
            break;
        case gkNeedle:
            drawNeedle(overlay, r);
            break;
    }
    bltXor(image, overlay);

    if (showText_)
        drawText(image, r, ratio);
    return image;
}

std::pair<int, int> TGauge::ellipseSize(const Bounds& r) {
    return {r.right - r.left + r.border, r.bottom - r.top + r.border};
}

void TGauge::drawPie(QImage& image, const Bounds& r) const {
    // The box runs from (L, T) to the sizes (plus one when bordered), which for the usual paint
    // rectangles is the rectangle's own right and bottom.
    const auto [w, h] = ellipseSize(r);
    fillRect(image, r.left, r.top, r.right, r.bottom, Color());
    // Sizes where the box's right and bottom edges belong: meant, it is the picture the gauge
    // has always drawn (it differs only for a paint rectangle away from the origin).
    const raster::Box box{r.left, r.top, w, h};
    const QRgb fore = rgbOf(foreColor_);
    raster::drawEllipse(image, box, rgbOf(backColor_), fore);

    const int percentage = Percentage();
    if (percentage <= 0)
        return;
    const int halfW = w / 2;
    const int halfH = h / 2;
    raster::drawPie(image, box, PieStartPoint(percentage, halfW, halfH), QPoint(halfW, 0), fore, fore);
}

void TGauge::drawNeedle(QImage& image, const Bounds& r) const {
    const auto [w, h] = ellipseSize(r);
    fillRect(image, r.left, r.top, r.right, r.bottom, Color());
    const QRgb fore = rgbOf(foreColor_);
    // The upper half of an ellipse twice the height, closed by its radii along the bottom.
    const raster::Box box{r.left, r.top, w, toIntRange(2.0 * h - 1)};
    raster::drawPie(image, box, QPoint(r.left + w, r.bottom - 1), QPoint(r.left, r.bottom - 1), rgbOf(backColor_),
                    fore);
    raster::drawLine(image, QPoint(r.left, r.bottom), QPoint(r.left + w, r.bottom), fore);

    const int percentage = Percentage();
    if (percentage <= 0)
        return;
    const double angle = double(percentage) / 100.0 * std::numbers::pi;
    // The pivot is half the control's width (in the picture's pixels), not the paint rectangle's
    // centre: meant, a bordered needle has always turned about that point.
    const int halfWidth = image.width() / 2;
    const QPoint tip(roundEven((1.0 - std::cos(angle)) * halfWidth),
                     roundEven((1.0 - std::sin(angle)) * (r.bottom - 1)));
    raster::drawLine(image, QPoint(halfWidth, r.bottom - 1), tip, fore);
}

void TGauge::drawHorizontalBar(QImage& image, const Bounds& r) const {
    const int w = r.right - r.left + 1;
    const int h = r.bottom - r.top + 1;
    fillRect(image, r.left, r.top, r.right, r.bottom, backColor_);
    const int filled = std::min(ScaleByPercent(Percentage(), w), w);
    // The filled width and the height stand where the right and bottom edges belong: meant, as
    // the bar has always been drawn.
    if (filled >= 1)
        fillRect(image, r.left, r.top, filled, h, foreColor_);
}

void TGauge::drawVerticalBar(QImage& image, const Bounds& r) const {
    const int w = r.right - r.left + 1;
    const int h = r.bottom - r.top + 1;
    fillRect(image, r.left, r.top, r.right, r.bottom, backColor_);
    int filled = ScaleByPercent(Percentage(), h);
    if (filled >= h)
        filled = h - 1;
    fillRect(image, r.left, h - filled, w, h, foreColor_);
}

void TGauge::drawText(QImage& image, const Bounds& r, qreal ratio) const {
    TBltBitmap text;
    text.MakeLike(image);
    bltClearToBlack(text);
    {
        QPainter painter(&text);
        QFont f = font();
        // Exclusive-or needs every text pixel fully on or off; smoothed edges would turn into
        // stray colours.
        f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::NoAntialias));
        // The text keeps its size on the control at any density.
        if (ratio != 1.0) {
            if (f.pixelSize() > 0)
                f.setPixelSize(std::max(1, qRound(f.pixelSize() * ratio)));
            else
                f.setPointSizeF(f.pointSizeF() * ratio);
        }
        painter.setFont(f);
        painter.setPen(Qt::white);
        painter.setBackgroundMode(Qt::TransparentMode);
        const QString label = QString::number(Percentage()) + QLatin1Char('%');
        const QFontMetrics metrics = painter.fontMetrics();
        const int tw = metrics.horizontalAdvance(label);
        const int th = metrics.ascent() + metrics.descent();
        const int x = (r.right - r.left + 1 - tw) / 2;
        const int y = (r.bottom - r.top + 1 - th) / 2;
        painter.setClipRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
        painter.drawText(x, y + metrics.ascent(), label);
    }
    bltXor(image, text);
}

}  // namespace zelvo
