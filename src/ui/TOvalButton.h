#pragma once
// An oval push button is two panels: an outer panel (the rim) and this inner panel at (0, 0), one
// pixel narrower and one pixel less tall, that carries the caption and the click action. Both are
// clipped to the ellipse inscribed in their own rectangle, so the rim shows at the right and bottom.
// While the left button is held the inner panel sinks one pixel down and to the right; Space or
// Enter on a focused button sinks and clicks it the same way.

#include <QBitmap>
#include <QPainterPath>
#include <QRegion>
#include <QSize>
#include <QTransform>
#include <functional>

#include "ui/TPanel.h"

namespace zelvo {

// A panel that can be clipped to the ellipse inscribed in its rectangle. On a screen of more than
// one device pixel per pixel the ellipse is worked out at the device pixels the panel covers, so
// its edge is as fine as the text; a window mask alone has only whole pixels of the panel.
class TOvalPanel : public TPanel {
    Q_OBJECT
public:
    explicit TOvalPanel(QWidget* parent = nullptr);

    bool oval() const { return oval_; }
    // Clips the panel to its ellipse, and keeps it so when its size or the screen's density changes.
    void setOval(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void updateClip();

    bool oval_ = false;
};

class TOvalButton : public TOvalPanel {
    Q_OBJECT
public:
    explicit TOvalButton(QWidget* parent = nullptr);

    // Runs when the left button is released over the panel's rectangle (corners outside the oval
    // included), before the panel moves back. Called from Qt's event handler: it must not throw.
    std::function<void()> OnClick;

    // A whole press at once: sinks, runs OnClick and comes back up, as a pressed and released key
    // does. What an assistive technology's press action runs.
    void press();
    bool sunk() const { return sunk_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void sink();
    // Comes back up, after running OnClick when `click`.
    void rise(bool click);

    bool sunk_ = false;
    bool keyHeld_ = false;  // sunk by Space or Enter, not by the mouse
};

// The ellipse inscribed in a rectangle of `size` as a one-bit mask. A pixel belongs to it when its
// centre lies inside the ellipse, so the mask is symmetric about both axes.
QBitmap EllipseMask(QSize size);

// The pixels of a widget of `size` that any device pixel of its ellipse touches, at `ratio` device
// pixels per pixel and wherever the widget lies on the device grid: the mask that lets every
// device pixel of the ellipse show. At a ratio of 1, the ellipse's own pixels (EllipseMask).
QRegion OvalMask(QSize size, qreal ratio);

// The ellipse inscribed in the device pixels that the rectangle (0, 0)-`size` covers under
// `toDevice`, as a path in the widget's own coordinates that holds those device pixels' middles and
// no other device pixel's.
QPainterPath DeviceOval(QSize size, const QTransform& toDevice);

// Clips `panel` to the ellipse inscribed in its current rectangle and redraws it: at the device
// pixels for an oval panel, as a mask of whole pixels for any other widget.
void ApplyOvalClip(QWidget* panel);

}  // namespace zelvo
