// The oval mask and the push button's sinking and clicking, on a button of its own.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>
#include <QTest>
#include <vector>

#include "probes/Colour.h"
#include "ui/TOvalButton.h"

namespace zelvo {
namespace {

// Pixel centres by the ellipse's equation, with a margin either way for rounding.
double ellipseValue(int x, int y, int width, int height) {
    const double a = width / 2.0, b = height / 2.0;
    const double dx = (x + 0.5 - a) / a, dy = (y + 0.5 - b) / b;
    return dx * dx + dy * dy;
}

TEST(EllipseMask, IsTheInscribedEllipseAndSymmetricAtEverySize) {
    for (int width = 1; width <= 130; ++width) {
        for (int height = 1; height <= 40; ++height) {
            const QBitmap bitmap = EllipseMask(QSize(width, height));
            const QImage mask = bitmap.toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(mask.size(), QSize(width, height));
            if (mask != mask.mirrored(true, false) || mask != mask.mirrored(false, true)) {
                ADD_FAILURE() << "lopsided at " << width << " x " << height;
                continue;
            }
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const double value = ellipseValue(x, y, width, height);
                    // A set bit of the one-bit mask reads back as black.
                    const bool set = mask.pixel(x, y) == qRgb(0, 0, 0);
                    if (value < 0.999 && !set)
                        ADD_FAILURE() << "missing " << x << "," << y << " at " << width << " x " << height;
                    if (value > 1.001 && set)
                        ADD_FAILURE() << "extra " << x << "," << y << " at " << width << " x " << height;
                }
            }
        }
    }
}

TEST(EllipseMask, ClippingAPanelUsesItsOwnSize) {
    TPanel panel;
    panel.resize(115, 26);
    ApplyOvalClip(&panel);
    EXPECT_EQ(panel.mask(), QRegion(EllipseMask(QSize(115, 26))));
    EXPECT_FALSE(panel.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(panel.mask().contains(QPoint(114, 25)));
    EXPECT_TRUE(panel.mask().contains(QPoint(0, 13)));
    EXPECT_TRUE(panel.mask().contains(QPoint(114, 12)));
    ApplyOvalClip(nullptr);
}

struct Button {
    QWidget window;
    TPanel* outer = new TPanel(&window);
    TOvalButton* inner = new TOvalButton(outer);
    std::vector<QPoint> clicks;

    Button() {
        window.resize(200, 100);
        outer->setGeometry(50, 30, 70, 26);
        inner->setGeometry(0, 0, 69, 25);
        inner->OnClick = [this] { clicks.push_back(inner->pos()); };
        window.show();
    }
};

TEST(TOvalButton, PressSinksByOnePixelAndReleaseRaisesAfterTheClick) {
    Button b;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.window));
    EXPECT_EQ(b.inner->cursor().shape(), Qt::PointingHandCursor);
    QTest::mousePress(b.inner, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(b.inner->pos(), QPoint(1, 1));
    QTest::mouseRelease(b.inner, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(b.inner->pos(), QPoint(0, 0));
    ASSERT_EQ(b.clicks.size(), 1u);
    EXPECT_EQ(b.clicks[0], QPoint(1, 1));
}

TEST(TOvalButton, ReleaseOffThePanelOnlyRaisesIt) {
    Button b;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.window));
    for (QPoint off : {QPoint(-1, 5), QPoint(69, 5), QPoint(5, 25), QPoint(5, -1)}) {
        QTest::mousePress(b.inner, Qt::LeftButton, {}, QPoint(30, 12));
        QTest::mouseRelease(b.inner, Qt::LeftButton, {}, off);
        EXPECT_EQ(b.inner->pos(), QPoint(0, 0));
    }
    EXPECT_TRUE(b.clicks.empty());
    // The last pixel of the rectangle is still on it.
    QTest::mousePress(b.inner, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseRelease(b.inner, Qt::LeftButton, {}, QPoint(68, 24));
    EXPECT_EQ(b.clicks.size(), 1u);
}

TEST(TOvalButton, WithoutAnActionItStillSinksAndRises) {
    Button b;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.window));
    b.inner->OnClick = nullptr;
    QTest::mousePress(b.inner, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseRelease(b.inner, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(b.inner->pos(), QPoint(0, 0));
}

}  // namespace
}  // namespace zelvo
