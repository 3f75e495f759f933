// Pictures at the screen's device pixels. The gauge's picture at a ratio is the gauge's rules
// applied to the size in device pixels; on screen it lands one to one on the device pixels, and
// the oval buttons' edges follow the ellipses of their device-pixel sizes. The HighDensity cases
// also run with QT_SCALE_FACTOR 1.5 and 2 (see tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <cmath>

#include "probes/Colour.h"
#include "ui/ColourConvert.h"
#include "ui/TGauge.h"
#include "ui/TOvalButton.h"

namespace zelvo {
namespace {

constexpr QRgb kOutside = qRgb(0, 0, 128);

void makePie(TGauge& gauge, QSize size, int progress) {
    gauge.resize(size);
    gauge.setKind(gkPie);
    gauge.setBorderStyle(bsNone);
    gauge.setShowText(false);
    gauge.setForeColor(colour::Red);
    gauge.setBackColor(colour::Lime);
    gauge.setColor(colour::Navy);
    gauge.setProgress(progress);
}

QImage opaque(const QImage& image) {
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    copy.setDevicePixelRatio(1);
    return copy;
}

// The aligned 2 x 2 blocks through which the pie's edge runs (holding both a pie pixel and an
// outside pixel), and those on the edge (holding a pie pixel with an outside neighbour) that are all
// one colour. A picture drawn at half the size and stretched has none of the first and only the
// second.
struct EdgeBlocks {
    int edgePixels = 0;
    int crossed = 0;
    int uniform = 0;
};

EdgeBlocks edgeBlocks(const QImage& image) {
    const auto pie = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() && image.pixel(x, y) != kOutside;
    };
    EdgeBlocks blocks;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            bool edge = false;
            int inside = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const int px = x + dx, py = y + dy;
                    inside += pie(px, py) ? 1 : 0;
                    edge = edge || (pie(px, py) &&
                                    (!pie(px - 1, py) || !pie(px + 1, py) || !pie(px, py - 1) || !pie(px, py + 1)));
                }
            }
            if (inside > 0 && inside < 4)
                ++blocks.crossed;
            const QRgb c = image.pixel(x, y);
            if (edge && image.pixel(x + 1, y) == c && image.pixel(x, y + 1) == c && image.pixel(x + 1, y + 1) == c)
                ++blocks.uniform;
        }
    }
    return blocks;
}

struct RatioRow {
    qreal ratio;
    int deviceSize;
};

class GaugeAtRatio : public testing::TestWithParam<RatioRow> {};

TEST_P(GaugeAtRatio, IsTheGaugeOfTheDeviceSize) {
    const RatioRow row = GetParam();
    for (int progress : {0, 1, 12, 42, 75, 99, 100}) {
        SCOPED_TRACE(testing::Message() << "ratio " << row.ratio << ", " << progress << " %");
        TGauge gauge;
        makePie(gauge, QSize(100, 100), progress);
        const QImage picture = gauge.renderImage(row.ratio);
        EXPECT_EQ(picture.size(), QSize(row.deviceSize, row.deviceSize));
        EXPECT_EQ(picture.devicePixelRatio(), row.ratio);
        TGauge device;
        makePie(device, QSize(row.deviceSize, row.deviceSize), progress);
        EXPECT_EQ(opaque(picture), device.renderImage());
        if (row.ratio == 2) {
            // The edge runs through the blocks in single device pixels, not around them: about one
            // block in two along it is crossed (the rest lie wholly inside, with the edge at a side).
            const EdgeBlocks blocks = edgeBlocks(opaque(picture));
            EXPECT_GT(4 * blocks.crossed, blocks.edgePixels) << blocks.crossed << " of " << blocks.edgePixels;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, GaugeAtRatio,
                         testing::Values(RatioRow{1, 100}, RatioRow{1.25, 125}, RatioRow{1.5, 150}, RatioRow{2, 200}));

TEST(GaugeAtRatio, StretchedPictureHasUniformEdgeBlocks) {
    // The check above sees a stretched picture.
    TGauge gauge;
    makePie(gauge, QSize(100, 100), 42);
    const EdgeBlocks blocks = edgeBlocks(opaque(gauge.renderImage()).scaled(200, 200));
    EXPECT_EQ(blocks.crossed, 0);
    EXPECT_GT(blocks.uniform, 100);
}

TEST(GaugeAtRatio, BorderAndTextKeepTheirSizeOnTheControl) {
    TGauge gauge;
    makePie(gauge, QSize(100, 100), 42);
    gauge.setBorderStyle(bsSingle);
    const QImage picture = opaque(gauge.renderImage(2));
    // A frame two device pixels wide, the pie's outline inside it.
    for (int i : {0, 1})
        EXPECT_EQ(picture.pixel(100, i), qRgb(0, 0, 0));
    EXPECT_NE(picture.pixel(100, 2), qRgb(0, 0, 0));
}

// Where the control's device pixels start in a window: the window's own (0, 0) is a device
// pixel's corner.
QPoint devicePoint(QPoint logical, qreal ratio) {
    return QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio));
}

qreal expectedRatio() {
    return qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
}

TEST(HighDensity, GaugeLandsOneToOneOnTheDevicePixels) {
    QWidget window;
    window.resize(200, 160);
    auto* gauge = new TGauge(&window);
    makePie(*gauge, QSize(100, 100), 42);
    gauge->move(20, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const qreal ratio = window.devicePixelRatioF();
    EXPECT_EQ(ratio, expectedRatio());
    const QImage shot = opaque(window.grab().toImage());
    const QImage picture = opaque(gauge->renderImage(ratio));
    EXPECT_EQ(shot.copy(QRect(devicePoint(gauge->pos(), ratio), picture.size())), picture);
}

// The pixels of `image` within `area` that have `colour`, as a one-bit picture of the area.
QImage pixelsOf(const QImage& image, const QRect& area, QRgb colour) {
    QImage mask(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            mask.setPixel(x, y, image.pixel(area.x() + x, area.y() + y) == colour ? 0xFF000000u : 0xFFFFFFFFu);
    return mask;
}

QImage ellipseOf(QSize size, QSize area) {
    QImage mask(area, QImage::Format_RGB32);
    mask.fill(0xFFFFFFFFu);
    const QImage ellipse = EllipseMask(size).toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            mask.setPixel(x, y, ellipse.pixel(x, y));
    return mask;
}

TEST(HighDensity, OvalEdgesAreTheEllipsesOfTheDeviceSizes) {
    QWidget window;
    window.resize(200, 100);
    auto* outer = new TOvalPanel(&window);
    outer->setColor(colour::Maroon);
    outer->setGeometry(50, 30, 70, 26);
    auto* inner = new TOvalButton(outer);
    inner->setColor(colour::Green);
    inner->setGeometry(0, 0, 69, 25);
    ApplyOvalClip(outer);
    ApplyOvalClip(inner);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const qreal ratio = window.devicePixelRatioF();
    EXPECT_EQ(ratio, expectedRatio());
    const QImage shot = opaque(window.grab().toImage());

    const QPoint origin = devicePoint(outer->pos(), ratio);
    const QPoint outerEnd = devicePoint(outer->pos() + QPoint(70, 26), ratio) - origin;
    const QPoint innerEnd = devicePoint(outer->pos() + QPoint(69, 25), ratio) - origin;
    const QSize outerSize(outerEnd.x(), outerEnd.y());
    const QSize innerSize(innerEnd.x(), innerEnd.y());
    const QRect area(origin, outerSize);
    const QRgb green = toQColor(colour::Green).rgb();
    const QRgb maroon = toQColor(colour::Maroon).rgb();
    // The inner panel shows its own ellipse within the outer one's; with the rim, it is the outer one's.
    const QImage outerEllipse = ellipseOf(outerSize, outerSize);
    QImage innerEllipse = ellipseOf(innerSize, outerSize);
    for (int y = 0; y < outerSize.height(); ++y)
        for (int x = 0; x < outerSize.width(); ++x)
            innerEllipse.setPixel(x, y, innerEllipse.pixel(x, y) | outerEllipse.pixel(x, y));
    EXPECT_EQ(pixelsOf(shot, area, green), innerEllipse);
    QImage both = pixelsOf(shot, area, green);
    const QImage rim = pixelsOf(shot, area, maroon);
    for (int y = 0; y < both.height(); ++y)
        for (int x = 0; x < both.width(); ++x)
            both.setPixel(x, y, both.pixel(x, y) & rim.pixel(x, y));
    EXPECT_EQ(both, outerEllipse);
    // A click is taken wherever the oval shows.
    for (int y = 0; y < outerSize.height(); ++y)
        for (int x = 0; x < outerSize.width(); ++x)
            if (both.pixel(x, y) == 0xFF000000u) {
                ASSERT_TRUE(outer->mask().contains(QPoint(int((x + 0.5) / ratio), int((y + 0.5) / ratio))));
            }
}

}  // namespace
}  // namespace zelvo
