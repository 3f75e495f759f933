// Colour values to Qt colours: RGB values directly, system colours through the palette role that
// stands for them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "probes/Colour.h"
#include "ui/ColourConvert.h"

namespace zelvo {
namespace {

TEST(ColourConvert, RgbValuesKeepTheirChannels) {
    const ColourValue values[] = {colour::White, colour::Black, colour::Red,       colour::Lime,
                                  colour::Navy,  colour::Teal,  rgbColour(1, 2, 3)};
    for (const ColourValue value : values) {
        SCOPED_TRACE(value);
        const QColor c = toQColor(value);
        EXPECT_EQ(c.red(), redOf(value));
        EXPECT_EQ(c.green(), greenOf(value));
        EXPECT_EQ(c.blue(), blueOf(value));
        EXPECT_EQ(c.alpha(), 255);
    }
}

TEST(ColourConvert, SystemColoursFollowTheApplicationPalette) {
    const QPalette saved = QApplication::palette();
    struct Row {
        ColourValue value;
        QPalette::ColorRole role;
        QColor colour;
    };
    // Every role gets its own colour, so a mix-up of two roles shows.
    const Row rows[] = {
        {colour::ButtonFace, QPalette::Button, QColor(10, 20, 30)},
        {colour::WindowColour, QPalette::Base, QColor(40, 50, 60)},
        {colour::WindowText, QPalette::Text, QColor(70, 80, 90)},
        {colour::Highlight, QPalette::Highlight, QColor(100, 110, 120)},
        {colour::HighlightText, QPalette::HighlightedText, QColor(130, 140, 150)},
        {colour::TooltipBackground, QPalette::ToolTipBase, QColor(160, 170, 180)},
    };
    QPalette palette = saved;
    for (const Row& row : rows)
        palette.setColor(row.role, row.colour);
    QApplication::setPalette(palette);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(toQColor(row.value), row.colour);
    }
    EXPECT_EQ(toQColor(colour::WindowFrame), QColor(Qt::black));
    // An index the program never uses falls back to black rather than failing.
    EXPECT_EQ(toQColor(0x800000FFu), QColor(Qt::black));

    QApplication::setPalette(saved);
}

}  // namespace
}  // namespace zelvo
