#include "ColourConvert.h"

#include <QGuiApplication>
#include <QPalette>

namespace zelvo {

namespace {
constexpr std::uint8_t indexOf(ColourValue value) {
    return std::uint8_t(value & 0xFF);
}
}  // namespace

QColor toQColor(ColourValue value) {
    if (!isSystemColour(value))
        return QColor(redOf(value), greenOf(value), blueOf(value));

    const QPalette palette = QGuiApplication::palette();
    switch (indexOf(value)) {
        case indexOf(colour::ButtonFace):
            return palette.color(QPalette::Button);
        case indexOf(colour::WindowColour):
            return palette.color(QPalette::Base);
        case indexOf(colour::WindowText):
            return palette.color(QPalette::Text);
        case indexOf(colour::Highlight):
            return palette.color(QPalette::Highlight);
        case indexOf(colour::HighlightText):
            return palette.color(QPalette::HighlightedText);
        case indexOf(colour::TooltipBackground):
            return palette.color(QPalette::ToolTipBase);
        case indexOf(colour::WindowFrame):
        default:
            // Qt's palette has no frame role; desktop schemes draw window frames in black, and black
            // is the harmless answer for an index the program never uses.
            return QColor(Qt::black);
    }
}

}  // namespace zelvo
