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
    // Colour values are 0x00BBGGRR: red in the low byte, as the window's colours were written.
    struct Row {
        ColourValue value;
        QColor colour;
    };
    const Row rows[] = {
        {0x00000000u, QColor(0, 0, 0)},          {0x00FFFFFFu, QColor(255, 255, 255)},
        {0x000000FFu, QColor(255, 0, 0)},        {0x0000FF00u, QColor(0, 255, 0)},
        {0x00800000u, QColor(0, 0, 128)},        {0x00808000u, QColor(0, 128, 128)},
        {0x00030201u, QColor(1, 2, 3)},          {colour::Red, QColor(255, 0, 0)},
        {colour::Navy, QColor(0, 0, 128)},       {colour::Yellow, QColor(255, 255, 0)},
        {colour::Silver, QColor(192, 192, 192)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(toQColor(row.value), row.colour);
        EXPECT_EQ(toQColor(row.value).alpha(), 255);
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
