#pragma once
// Centring a window on the screen by its outer size, frame included. A window manager adds its
// frame only once the window is first shown, so a window centred before then is centred again
// by its outer size as soon as it is on screen.

#include <QPoint>
#include <QSize>

class QWidget;

namespace zelvo {

// Where a window of `window` size lands when centred on `screen`; negative on a small screen.
QPoint CentredPosition(QSize screen, QSize window);

// Moves `window` to the centre of a screen of `screen` size by its size now, and once more by its
// outer size when it is first on screen, unless it has been moved meanwhile. A Wayland compositor
// places windows itself and ignores both moves.
void CentreOnScreen(QWidget& window, QSize screen);

}  // namespace zelvo
