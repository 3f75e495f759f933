#pragma once
// An oval push button is two panels: an outer panel (the rim) and this inner panel at (0, 0), one
// pixel narrower and one pixel less tall, that carries the caption and the click action. Both are
// clipped to the ellipse inscribed in their own rectangle, so the rim shows at the right and bottom.
// While the left button is held the inner panel sinks one pixel down and to the right.

#include <QBitmap>
#include <QSize>
#include <functional>

#include "ui/TPanel.h"

namespace zelvo {

class TOvalButton : public TPanel {
    Q_OBJECT
public:
    explicit TOvalButton(QWidget* parent = nullptr);

    // Runs when the left button is released over the panel's rectangle (corners outside the oval
    // included), before the panel moves back. Called from Qt's event handler: it must not throw.
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The ellipse inscribed in a rectangle of `size` as a one-bit mask. A pixel belongs to it when its
// centre lies inside the ellipse, so the mask is symmetric about both axes.
QBitmap EllipseMask(QSize size);

// Clips `panel` to the ellipse inscribed in its current rectangle and redraws it.
void ApplyOvalClip(QWidget* panel);

}  // namespace zelvo
