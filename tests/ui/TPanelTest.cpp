// Panels: flat colour, the single-line border and its client area, the centred caption.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "probes/Colour.h"
#include "ui/ColourConvert.h"
#include "ui/Fonts.h"
#include "ui/TPanel.h"

namespace zelvo {
namespace {

QImage picture(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(TPanel, FillsItselfFlatInItsColour) {
    TPanel panel;
    panel.resize(40, 20);
    panel.setColor(colour::Teal);
    const QImage image = picture(panel);
    for (QPoint p : {QPoint(0, 0), QPoint(39, 19), QPoint(20, 10), QPoint(39, 0), QPoint(0, 19)})
        EXPECT_EQ(image.pixel(p), toQColor(colour::Teal).rgb()) << p.x() << "," << p.y();
}

TEST(TPanel, BorderShrinksTheClientAreaByOnePixel) {
    TPanel panel;
    panel.resize(40, 20);
    panel.setColor(colour::Black);
    EXPECT_EQ(panel.clientOrigin(), QPoint(0, 0));
    panel.setBorderColor(colour::Red);
    EXPECT_EQ(panel.clientOrigin(), QPoint(1, 1));
    EXPECT_EQ(panel.contentsRect(), QRect(1, 1, 38, 18));
    const QImage image = picture(panel);
    for (QPoint p : {QPoint(0, 0), QPoint(39, 19), QPoint(20, 0), QPoint(0, 10), QPoint(39, 10), QPoint(20, 19)})
        EXPECT_EQ(image.pixel(p), qRgb(255, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(38, 18), qRgb(0, 0, 0));
    panel.setBorderColor(std::nullopt);
    EXPECT_EQ(panel.clientOrigin(), QPoint(0, 0));
}

TEST(TPanel, CaptionIsCentredInTheFontColour) {
    TPanel panel;
    panel.resize(114, 25);
    panel.setColor(colour::Black);
    panel.setFontColor(colour::White);
    panel.setFont(makeFont(FontFace::G, -15));
    panel.setCaption(QStringLiteral("クロック 計測"));
    const QImage image = picture(panel);
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no caption drawn";
    // The ink is centred to within the glyphs' side bearings.
    EXPECT_NEAR(left, image.width() - 1 - right, 4);
    EXPECT_NEAR(top, image.height() - 1 - bottom, 4);
}

}  // namespace
}  // namespace zelvo
