#pragma once
// Turns the program's colour values into Qt colours. System colours are read from the application's
// palette each time, so a change of the desktop's scheme shows at the next paint.

#include <QColor>

#include "probes/Colour.h"

namespace zelvo {

QColor toQColor(ColourValue value);

}  // namespace zelvo
