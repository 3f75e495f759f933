// The gauge: property rules and the repaints they cause, and the pictures of every kind, checked
// pixel by pixel on the composed image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <QWidget>
#include <climits>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "probes/Colour.h"
#include "ui/ColourConvert.h"
#include "ui/GaugeRaster.h"
#include "ui/TBltBitmap.h"
#include "ui/TGauge.h"

namespace zelvo {
namespace {

constexpr ColourValue kFore = colour::Red;
constexpr ColourValue kBack = colour::Lime;
constexpr ColourValue kOutside = colour::Navy;

ColourValue at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return rgbColour(std::uint8_t(qRed(p)), std::uint8_t(qGreen(p)), std::uint8_t(qBlue(p)));
}

QFont gaugeFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(20);
    font.setBold(true);
    return font;
}

void configure(TGauge& gauge, TGaugeKind kind, TBorderStyle border, int progress, bool showText = false) {
    gauge.setKind(kind);
    gauge.setBorderStyle(border);
    gauge.setShowText(showText);
    gauge.setForeColor(kFore);
    gauge.setBackColor(kBack);
    gauge.setColor(kOutside);
    gauge.setFont(gaugeFont());
    gauge.setProgress(progress);
}

QImage render(TGaugeKind kind, TBorderStyle border, int progress, bool showText = false) {
    TGauge gauge;
    configure(gauge, kind, border, progress, showText);
    return gauge.renderImage();
}

QImage pie(int progress, TBorderStyle border = bsNone) {
    return render(gkPie, border, progress);
}

// The pie's pixels that are not the outside colour.
std::set<std::pair<int, int>> silhouette(const QImage& image) {
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) != kOutside && at(image, x, y) != colour::Black)
                pixels.insert({x, y});
    return pixels;
}

// Silhouette pixels with a four-neighbour outside the silhouette: the disc's rim.
std::set<std::pair<int, int>> rim(const std::set<std::pair<int, int>>& shape) {
    std::set<std::pair<int, int>> edge;
    for (const auto& [x, y] : shape) {
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            if (!shape.count({x + dx, y + dy})) {
                edge.insert({x, y});
                break;
            }
        }
    }
    return edge;
}

// ---------------------------------------------------------------------------------------------
// Arithmetic

TEST(GaugeArithmetic, PercentOfAndScaleByPercent) {
    struct Row {
        std::int64_t part, whole;
        int expected;
    };
    const Row percentRows[] = {
        {1, 3, 33},
        {2, 3, 66},
        {-1, 3, -33},
        {5, 0, 0},
        {0, 0, 0},
        {3, 3, 100},
        {42, 100, 42},
        {999, 1000, 99},
        // A range wider than the int range.
        {std::int64_t(1) << 31, (std::int64_t(1) << 32) - 1, 50},
    };
    for (const Row& row : percentRows) {
        SCOPED_TRACE(testing::Message() << "PercentOf(" << row.part << ", " << row.whole << ")");
        EXPECT_EQ(PercentOf(row.part, row.whole), row.expected);
    }

    struct ScaleRow {
        int percentage, whole, expected;
    };
    const ScaleRow scaleRows[] = {
        {50, 99, 49},
        {100, 101, 101},
        {0, 101, 0},
        {29, 101, 29},
        // 29 * 0.01 is just below 0.29 in binary, so the product truncates to 28.
        {29, 100, 28},
        {-10, 100, -10},
    };
    for (const ScaleRow& row : scaleRows) {
        SCOPED_TRACE(testing::Message() << "ScaleByPercent(" << row.percentage << ", " << row.whole << ")");
        EXPECT_EQ(ScaleByPercent(row.percentage, row.whole), row.expected);
    }
}

struct StartPointRow {
    int percentage;
    QPoint start;
};
const StartPointRow kStartPoints[] = {
    {1, {53, 0}}, {10, {79, 10}}, {25, {100, 50}}, {50, {50, 100}}, {75, {0, 50}}, {99, {47, 0}}, {100, {50, 0}},
};

TEST(GaugeArithmetic, PieStartPointsOfTheHundredPixelGauge) {
    for (const StartPointRow& row : kStartPoints) {
        SCOPED_TRACE(row.percentage);
        EXPECT_EQ(PieStartPoint(row.percentage, 50, 50), row.start);
    }
}

// ---------------------------------------------------------------------------------------------
// Properties

TEST(GaugeProperties, ConstructionDefaults) {
    TGauge gauge;
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_EQ(gauge.Kind(), gkHorizontalBar);
    EXPECT_TRUE(gauge.ShowText());
    EXPECT_EQ(gauge.BorderStyle(), bsSingle);
    EXPECT_EQ(gauge.ForeColor(), colour::Black);
    EXPECT_EQ(gauge.BackColor(), colour::White);
    EXPECT_EQ(gauge.width(), 100);
    EXPECT_EQ(gauge.height(), 100);
    EXPECT_EQ(gauge.Percentage(), 0);
    EXPECT_FALSE(gauge.Loading());
}

TEST(GaugeProperties, PercentageOverRanges) {
    struct Row {
        int min, max, progress, expected;
    };
    const Row rows[] = {
        {0, 100, 42, 42},
        {0, 3, 1, 33},
        {0, 3, 2, 66},
        {5, 5, 5, 0},
        {-50, 50, 0, 50},
        {10, 20, 15, 50},
        {INT_MIN, INT_MAX, 0, 50},
        {INT_MIN, INT_MAX, INT_MAX, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.min << ".." << row.max << " at " << row.progress);
        TGauge gauge;
        gauge.setMaxValue(row.max);
        gauge.setMinValue(row.min);
        gauge.setProgress(row.progress);
        EXPECT_EQ(gauge.Progress(), row.progress);
        EXPECT_EQ(gauge.Percentage(), row.expected);
    }
}

// One gauge on screen takes a sequence of writes; each row says whether the write repainted
// (before it returned) and what the gauge holds afterwards.
TEST(GaugeProperties, WritesAndTheRepaintsTheyCause) {
    struct Write {
        const char* what;
        std::function<void(TGauge&)> apply;
        bool repaints;
        int min, max, progress, percentage;
        const char* error;
    };
    const std::vector<Write> writes = {
        {"Kind pie", [](TGauge& g) { g.setKind(gkPie); }, true, 0, 100, 0, 0, nullptr},
        {"Kind pie again", [](TGauge& g) { g.setKind(gkPie); }, false, 0, 100, 0, 0, nullptr},
        {"ShowText off", [](TGauge& g) { g.setShowText(false); }, true, 0, 100, 0, 0, nullptr},
        {"ShowText off again", [](TGauge& g) { g.setShowText(false); }, false, 0, 100, 0, 0, nullptr},
        {"BorderStyle none", [](TGauge& g) { g.setBorderStyle(bsNone); }, true, 0, 100, 0, 0, nullptr},
        {"BorderStyle none again", [](TGauge& g) { g.setBorderStyle(bsNone); }, false, 0, 100, 0, 0, nullptr},
        {"ForeColor red", [](TGauge& g) { g.setForeColor(colour::Red); }, true, 0, 100, 0, 0, nullptr},
        {"ForeColor red again", [](TGauge& g) { g.setForeColor(colour::Red); }, false, 0, 100, 0, 0, nullptr},
        {"BackColor lime", [](TGauge& g) { g.setBackColor(colour::Lime); }, true, 0, 100, 0, 0, nullptr},
        {"BackColor lime again", [](TGauge& g) { g.setBackColor(colour::Lime); }, false, 0, 100, 0, 0, nullptr},
        {"Color navy", [](TGauge& g) { g.setColor(colour::Navy); }, true, 0, 100, 0, 0, nullptr},
        {"Color navy again", [](TGauge& g) { g.setColor(colour::Navy); }, false, 0, 100, 0, 0, nullptr},
        {"Progress 42", [](TGauge& g) { g.setProgress(42); }, true, 0, 100, 42, 42, nullptr},
        {"Progress 42 again", [](TGauge& g) { g.setProgress(42); }, false, 0, 100, 42, 42, nullptr},
        {"Progress 150 clamps", [](TGauge& g) { g.setProgress(150); }, true, 0, 100, 100, 100, nullptr},
        {"Progress 150 again", [](TGauge& g) { g.setProgress(150); }, false, 0, 100, 100, 100, nullptr},
        {"Progress -5 clamps", [](TGauge& g) { g.setProgress(-5); }, true, 0, 100, 0, 0, nullptr},
        {"MaxValue 1000", [](TGauge& g) { g.setMaxValue(1000); }, true, 0, 1000, 0, 0, nullptr},
        {"Progress 5, still 0 %", [](TGauge& g) { g.setProgress(5); }, false, 0, 1000, 5, 0, nullptr},
        {"Progress 9, still 0 %", [](TGauge& g) { g.setProgress(9); }, false, 0, 1000, 9, 0, nullptr},
        {"Progress 10, 1 %", [](TGauge& g) { g.setProgress(10); }, true, 0, 1000, 10, 1, nullptr},
        {"Progress 19, still 1 %", [](TGauge& g) { g.setProgress(19); }, false, 0, 1000, 19, 1, nullptr},
        {"MaxValue 100", [](TGauge& g) { g.setMaxValue(100); }, true, 0, 100, 19, 19, nullptr},
        {"MinValue 101 refused", [](TGauge& g) { g.setMinValue(101); }, false, 0, 100, 19, 19,
         "-2147483647 から 99 の間の値でなければなりません"},
        {"MaxValue -1 refused", [](TGauge& g) { g.setMaxValue(-1); }, false, 0, 100, 19, 19,
         "1 から 2147483647 の間の値でなければなりません"},
        {"MinValue 100 pulls Progress up", [](TGauge& g) { g.setMinValue(100); }, true, 100, 100, 100, 0, nullptr},
        {"MinValue 100 again", [](TGauge& g) { g.setMinValue(100); }, false, 100, 100, 100, 0, nullptr},
        {"Progress 5 clamps to the stored 100", [](TGauge& g) { g.setProgress(5); }, false, 100, 100, 100, 0, nullptr},
        {"MinValue 0", [](TGauge& g) { g.setMinValue(0); }, true, 0, 100, 100, 100, nullptr},
        {"MaxValue 3 pulls Progress down", [](TGauge& g) { g.setMaxValue(3); }, true, 0, 3, 3, 100, nullptr},
        {"Progress 1", [](TGauge& g) { g.setProgress(1); }, true, 0, 3, 1, 33, nullptr},
        {"Progress 2", [](TGauge& g) { g.setProgress(2); }, true, 0, 3, 2, 66, nullptr},
        {"loading: MinValue 10 above MaxValue",
         [](TGauge& g) {
             g.setLoading(true);
             g.setMinValue(10);
         },
         true, 10, 3, 10, 0, nullptr},
        {"loading: MaxValue -20 below MinValue", [](TGauge& g) { g.setMaxValue(-20); }, true, 10, -20, -20, 100,
         nullptr},
        {"loaded: MinValue 0 refused",
         [](TGauge& g) {
             g.setLoading(false);
             g.setMinValue(0);
         },
         false, 10, -20, -20, 100, "-2147483647 から -21 の間の値でなければなりません"},
    };

    TGauge gauge;
    gauge.show();
    QApplication::processEvents();
    ASSERT_TRUE(gauge.isVisible());

    for (const Write& write : writes) {
        SCOPED_TRACE(write.what);
        const int before = gauge.paintCount();
        if (write.error) {
            try {
                write.apply(gauge);
                ADD_FAILURE() << "no error raised";
            } catch (const EInvalidOperation& e) {
                EXPECT_STREQ(e.what(), write.error);
            }
        } else {
            write.apply(gauge);
        }
        // No event processing in between: a repaint must have happened inside the write.
        EXPECT_EQ(gauge.paintCount() - before, write.repaints ? 1 : 0);
        EXPECT_EQ(gauge.MinValue(), write.min);
        EXPECT_EQ(gauge.MaxValue(), write.max);
        EXPECT_EQ(gauge.Progress(), write.progress);
        EXPECT_EQ(gauge.Percentage(), write.percentage);
    }
}

TEST(GaugeProperties, HiddenGaugeStoresWithoutPainting) {
    TGauge gauge;
    gauge.setKind(gkPie);
    gauge.setProgress(50);
    gauge.setForeColor(colour::Red);
    EXPECT_EQ(gauge.paintCount(), 0);
    EXPECT_EQ(gauge.Kind(), gkPie);
    EXPECT_EQ(gauge.Progress(), 50);
}

TEST(GaugeProperties, ColorComesFromTheParentUntilWritten) {
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(parent.backgroundRole(), QColor(12, 34, 56));
    parent.setPalette(palette);
    auto* gauge = new TGauge(&parent);
    EXPECT_TRUE(gauge->ParentColor());
    EXPECT_EQ(gauge->Color(), rgbColour(12, 34, 56));

    gauge->setColor(colour::Black);
    EXPECT_FALSE(gauge->ParentColor());
    EXPECT_EQ(gauge->Color(), colour::Black);

    gauge->setParentColor(true);
    EXPECT_EQ(gauge->Color(), rgbColour(12, 34, 56));
}

// ---------------------------------------------------------------------------------------------
// Pie pictures

// Inside the disc, away from the rim and the radii, a pixel is in the slice exactly when its
// angle lies between the start ray through the listed start point and 12 o'clock.
class PieStartTest : public testing::TestWithParam<StartPointRow> {};

TEST_P(PieStartTest, SliceRunsFromTheStartRayToTwelveOClock) {
    const StartPointRow row = GetParam();
    const QImage empty = pie(0);
    const QImage image = pie(row.percentage);
    const double cx = 50, cy = 50;
    const double sx = row.start.x() - cx, sy = row.start.y() - cy;
    const double startAngle = std::atan2(-sy, sx);
    const double endAngle = std::numbers::pi / 2;
    const double span = std::fmod(endAngle - startAngle + 4 * std::numbers::pi, 2 * std::numbers::pi);
    auto distanceToRay = [](double vx, double vy, double dx, double dy) {
        const double length = std::hypot(dx, dy);
        const double along = (vx * dx + vy * dy) / length;
        if (along <= 0)
            return std::hypot(vx, vy);
        return std::abs(vx * dy - vy * dx) / length;
    };

    int inSlice = 0, outOfSlice = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (at(empty, x, y) != kBack)
                continue;  // the rim and the outside
            const double vx = x + 0.5 - cx, vy = y + 0.5 - cy;
            if (distanceToRay(vx, vy, sx, sy) < 1.0 || distanceToRay(vx, vy, 0, -50) < 1.0)
                continue;  // the radii
            const double delta =
                std::fmod(std::atan2(-vy, vx) - startAngle + 4 * std::numbers::pi, 2 * std::numbers::pi);
            const bool expected = delta <= span;
            (expected ? inSlice : outOfSlice)++;
            ASSERT_EQ(at(image, x, y), expected ? kFore : kBack) << "pixel (" << x << ", " << y << ")";
        }
    }
    EXPECT_GT(inSlice, 0);
    EXPECT_GT(outOfSlice, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, PieStartTest, testing::ValuesIn(std::begin(kStartPoints), std::end(kStartPoints) - 1),
                         [](const testing::TestParamInfo<StartPointRow>& paramInfo) {
                             return "Percent" + std::to_string(paramInfo.param.percentage);
                         });

// Right under the rim at 12 o'clock: at 1 % the slice is the few pixels from 12 o'clock to the
// start point (53, 0); at 99 % the gap is the few pixels from the start point (47, 0) to 12 o'clock.
TEST(GaugePie, ThinSlicesAtTwelveOClock) {
    const QImage empty = pie(0);
    for (const auto& [percentage, colourOfNarrowPart, from, to] :
         {std::tuple{1, kFore, 50, 53}, std::tuple{99, kBack, 47, 50}}) {
        SCOPED_TRACE(percentage);
        const QImage image = pie(percentage);
        for (int y = 1; y <= 2; ++y) {
            std::vector<int> narrow;
            for (int x = 0; x < 100; ++x)
                if (at(empty, x, y) == kBack && at(image, x, y) == colourOfNarrowPart)
                    narrow.push_back(x);
            ASSERT_FALSE(narrow.empty()) << "row " << y;
            EXPECT_GE(narrow.front(), from) << "row " << y;
            EXPECT_LT(narrow.back(), to) << "row " << y;
            EXPECT_EQ(narrow.back() - narrow.front() + 1, int(narrow.size())) << "one run, row " << y;
        }
    }
    // Left of 12 o'clock at 1 % and right of it at 99 % is the other colour.
    EXPECT_EQ(at(pie(1), 48, 2), kBack);
    EXPECT_EQ(at(pie(1), 51, 2), kFore);
    EXPECT_EQ(at(pie(99), 48, 10), kBack);
    EXPECT_EQ(at(pie(99), 51, 10), kFore);
}

class PieBorderTest : public testing::TestWithParam<TBorderStyle> {};

TEST_P(PieBorderTest, EmptyAndFullDiscs) {
    const TBorderStyle border = GetParam();
    // The ellipse box: (0, 0)-(100, 100) without a border, (1, 1)-(99, 99) with one.
    const int lo = border == bsSingle ? 1 : 0;
    const int hi = border == bsSingle ? 99 : 100;
    const QImage empty = pie(0, border);
    const QImage full = pie(100, border);
    const auto shape = silhouette(empty);
    const auto edge = rim(shape);
    ASSERT_FALSE(shape.empty());

    // A disc: symmetric, touching every side of its box, not reaching the box's corners.
    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
    for (const auto& [x, y] : shape) {
        EXPECT_TRUE(shape.count({lo + hi - 1 - x, y})) << x << "," << y;
        EXPECT_TRUE(shape.count({x, lo + hi - 1 - y})) << x << "," << y;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    EXPECT_EQ(minX, lo);
    EXPECT_EQ(maxX, hi - 1);
    EXPECT_EQ(minY, lo);
    EXPECT_EQ(maxY, hi - 1);
    EXPECT_EQ(at(empty, lo, lo), kOutside);
    EXPECT_EQ(at(empty, hi - 1, hi - 1), kOutside);

    // 0 %: a BackColor disc with a ForeColor outline.
    for (const auto& p : shape)
        EXPECT_EQ(at(empty, p.first, p.second), edge.count(p) ? kFore : kBack) << p.first << "," << p.second;
    // 100 %: the same silhouette, all ForeColor.
    EXPECT_EQ(silhouette(full), shape);
    for (const auto& p : shape)
        EXPECT_EQ(at(full, p.first, p.second), kFore) << p.first << "," << p.second;

    // The frame: black with a border, the outside colour without.
    for (int i = 0; i < 100; ++i) {
        for (const QPoint p : {QPoint(i, 0), QPoint(i, 99), QPoint(0, i), QPoint(99, i)}) {
            const bool onDisc = shape.count({p.x(), p.y()}) > 0;
            const ColourValue expected = border == bsSingle ? colour::Black : onDisc ? kFore : kOutside;
            EXPECT_EQ(at(full, p.x(), p.y()), expected) << p.x() << "," << p.y();
        }
    }
}

// The slice's edge lies on the disc's outline at every percentage: the silhouette never changes,
// the outline is ForeColor throughout, and no BackColor pixel touches the outside.
TEST_P(PieBorderTest, SliceEdgeLiesOnTheDiscOutline) {
    const TBorderStyle border = GetParam();
    const auto shape = silhouette(pie(0, border));
    const auto edge = rim(shape);
    for (int percentage = 0; percentage <= 100; ++percentage) {
        SCOPED_TRACE(percentage);
        const QImage image = pie(percentage, border);
        ASSERT_EQ(silhouette(image), shape);
        for (const auto& [x, y] : edge)
            ASSERT_EQ(at(image, x, y), kFore) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Borders, PieBorderTest, testing::Values(bsNone, bsSingle),
                         [](const testing::TestParamInfo<TBorderStyle>& paramInfo) {
                             return paramInfo.param == bsSingle ? "Single" : "None";
                         });

// ---------------------------------------------------------------------------------------------
// Text

struct TextCase {
    const char* what;
    TGaugeKind kind;
    TBorderStyle border;
    int progress;
    std::vector<std::pair<ColourValue, ColourValue>> mustInvert;  // colour beneath -> colour shown
};

// The text is the exclusive-or of white with what lies beneath, placed by the font's measures.
TEST(GaugeText, TextInvertsWhatLiesBeneath) {
    const TextCase cases[] = {
        {"pie 42 %", gkPie, bsNone, 42, {{colour::Red, colour::Aqua}, {colour::Lime, colour::Fuchsia}}},
        {"pie 42 % bordered", gkPie, bsSingle, 42, {{colour::Red, colour::Aqua}, {colour::Lime, colour::Fuchsia}}},
        {"text kind", gkText, bsNone, 7, {{colour::Lime, colour::Fuchsia}}},
        {"horizontal bar",
         gkHorizontalBar,
         bsSingle,
         50,
         {{colour::Red, colour::Aqua}, {colour::Lime, colour::Fuchsia}}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage plain = render(c.kind, c.border, c.progress, false);
        const QImage text = render(c.kind, c.border, c.progress, true);

        QFont font = gaugeFont();
        font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics metrics(font, &text);
        const QString label = QString::number(c.progress) + "%";
        const int r = c.border == bsSingle ? 99 : 100, l = c.border == bsSingle ? 1 : 0;
        const int tx = (r - l + 1 - metrics.horizontalAdvance(label)) / 2;
        const int ty = (r - l + 1 - (metrics.ascent() + metrics.descent())) / 2;

        std::map<std::pair<ColourValue, ColourValue>, int> inversions;
        QRect changed;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                const ColourValue before = at(plain, x, y);
                const ColourValue after = at(text, x, y);
                if (before == after)
                    continue;
                ASSERT_EQ(after, before ^ 0xFFFFFFu) << "pixel (" << x << ", " << y << ")";
                ++inversions[{before, after}];
                changed |= QRect(x, y, 1, 1);
            }
        }
        for (const auto& pair : c.mustInvert)
            EXPECT_GT(inversions[pair], 0) << std::hex << pair.first << " -> " << pair.second;
        // The glyphs lie in the text's cell, give or take a pixel of bearing.
        ASSERT_FALSE(changed.isEmpty());
        const QRect cell(tx, ty, metrics.horizontalAdvance(label), metrics.ascent() + metrics.descent());
        EXPECT_TRUE(cell.adjusted(-2, -2, 2, 2).contains(changed))
            << "cell " << cell.x() << "," << cell.y() << " " << cell.width() << "x" << cell.height() << ", ink "
            << changed.x() << "," << changed.y() << " " << changed.width() << "x" << changed.height();
    }
}

TEST(GaugeText, NavyBeneathAndTheFrameStaysBlack) {
    // A gauge too small for its text: the text is cut at the paint rectangle, the frame stays.
    TGauge gauge;
    configure(gauge, gkText, bsSingle, 100, true);
    gauge.setBackColor(colour::Navy);
    gauge.resize(30, 14);
    const QImage image = gauge.renderImage();
    int inverted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool frame = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            const ColourValue c = at(image, x, y);
            if (frame) {
                EXPECT_EQ(c, colour::Black) << x << "," << y;
            } else {
                EXPECT_TRUE(c == colour::Navy || c == rgbColour(255, 255, 127)) << x << "," << y;
                inverted += c != colour::Navy;
            }
        }
    }
    EXPECT_GT(inverted, 0);
}

// ---------------------------------------------------------------------------------------------
// Other kinds

TEST(GaugeKinds, TextKindIsBackColorInsideTheFrame) {
    for (const TBorderStyle border : {bsNone, bsSingle}) {
        const QImage image = render(gkText, border, 60);
        const int l = border == bsSingle ? 1 : 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= l && y >= l && x < 100 - l && y < 100 - l;
                ASSERT_EQ(at(image, x, y), inside ? kBack : colour::Black) << x << "," << y;
            }
    }
}

TEST(GaugeKinds, HorizontalBar) {
    struct Row {
        TBorderStyle border;
        int percentage;
        int foreEnd;  // first column after the ForeColor part
    };
    // Bordered: W = 99, so 50 % fills columns 1 to 48. Unbordered: W = 101.
    const Row rows[] = {{bsSingle, 50, 49}, {bsSingle, 100, 99}, {bsSingle, 0, 1},
                        {bsNone, 29, 29},   {bsNone, 100, 100},  {bsNone, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.percentage << "% border " << int(row.border));
        const QImage image = render(gkHorizontalBar, row.border, row.percentage);
        const int l = row.border == bsSingle ? 1 : 0;
        for (int y = l; y < 100 - l; ++y)
            for (int x = l; x < 100 - l; ++x)
                ASSERT_EQ(at(image, x, y), x < row.foreEnd ? kFore : kBack) << x << "," << y;
    }
}

TEST(GaugeKinds, VerticalBar) {
    struct Row {
        TBorderStyle border;
        int percentage;
        int foreTop;  // first row of the ForeColor part
    };
    // Unbordered: H = 101, and a full bar is held to H - 1 rows, so row 0 stays BackColor.
    const Row rows[] = {{bsSingle, 50, 50}, {bsSingle, 100, 1}, {bsSingle, 0, 99},
                        {bsNone, 29, 72},   {bsNone, 100, 1},   {bsNone, 0, 100}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.percentage << "% border " << int(row.border));
        const QImage image = render(gkVerticalBar, row.border, row.percentage);
        const int l = row.border == bsSingle ? 1 : 0;
        for (int y = l; y < 100 - l; ++y)
            for (int x = l; x < 100 - l; ++x)
                ASSERT_EQ(at(image, x, y), y >= row.foreTop ? kFore : kBack) << x << "," << y;
    }
}

TEST(GaugeKinds, NeedleSweepsFromLeftOverTheTop) {
    const QImage empty = render(gkNeedle, bsNone, 0);
    // The upper half-ellipse on the outside colour, closed along the bottom row.
    EXPECT_EQ(at(empty, 0, 0), kOutside);
    EXPECT_EQ(at(empty, 99, 0), kOutside);
    EXPECT_EQ(at(empty, 50, 0), kFore);
    EXPECT_EQ(at(empty, 50, 50), kBack);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(at(empty, x, 99), kFore) << x;
    EXPECT_EQ(at(empty, 0, 50), kOutside);
    EXPECT_EQ(at(empty, 99, 50), kOutside);
    for (int y = 0; y < 99; ++y)
        EXPECT_NE(at(empty, 50, y), kOutside) << y;

    for (const int percentage : {10, 25, 50, 75, 90}) {
        SCOPED_TRACE(percentage);
        const QImage image = render(gkNeedle, bsNone, percentage);
        const double a = percentage / 100.0 * std::numbers::pi;
        const QPointF from(50, 99);
        const QPointF tip(std::nearbyint((1 - std::cos(a)) * 50), std::nearbyint((1 - std::sin(a)) * 99));
        const QPointF d = tip - from;
        const double length = std::hypot(d.x(), d.y());
        int drawn = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                if (at(image, x, y) == at(empty, x, y))
                    continue;
                ++drawn;
                EXPECT_EQ(at(image, x, y), kFore);
                const QPointF v = QPointF(x, y) - from;
                const double across = std::abs(v.x() * d.y() - v.y() * d.x()) / length;
                const double along = (v.x() * d.x() + v.y() * d.y()) / length;
                EXPECT_LT(across, 1.0) << x << "," << y;
                EXPECT_GE(along, 0.0) << x << "," << y;
                EXPECT_LT(along, length) << x << "," << y;
            }
        // Most of the line is new ink; only the end near the rim may already be ForeColor.
        EXPECT_GE(drawn, int(std::max(std::abs(d.x()), std::abs(d.y()))) - 4);
    }
}

TEST(GaugeKinds, BorderedKindsKeepTheFrameBlack) {
    for (const TGaugeKind kind : {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle}) {
        for (const int percentage : {0, 50, 100}) {
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " at " << percentage);
            const QImage image = render(kind, bsSingle, percentage, true);
            for (int i = 0; i < 100; ++i) {
                EXPECT_EQ(at(image, i, 0), colour::Black) << i;
                EXPECT_EQ(at(image, 0, i), colour::Black) << i;
                // The needle's lines are not held to the paint rectangle: its base line runs from
                // (L, B) to (L + W', B), along the bottom row up to the right edge, and at 100 % the
                // needle ends on the right edge just above it.
                const bool onBaseLine = kind == gkNeedle && i > 0;
                EXPECT_EQ(at(image, i, 99), onBaseLine ? kFore : colour::Black) << i;
                if (kind != gkNeedle || i < 98) {
                    EXPECT_EQ(at(image, 99, i), colour::Black) << i;
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Building blocks

TEST(GaugeRaster, EllipsesAreSymmetricAndFillTheirBox) {
    const std::pair<int, int> sizes[] = {{100, 100}, {98, 98}, {99, 99}, {7, 3}, {1, 5}, {1, 1}, {2, 2}, {40, 17}};
    for (const auto& [w, h] : sizes) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const raster::Box box{3, 4, 3 + w, 4 + h};
        bool touches[4] = {};
        int outline = 0;
        for (int y = box.top - 1; y <= box.bottom; ++y)
            for (int x = box.left - 1; x <= box.right; ++x) {
                const auto kind = raster::classifyEllipsePixel(box, x, y);
                const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                if (!inBox) {
                    EXPECT_EQ(kind, raster::EllipsePixel::Outside) << x << "," << y;
                    continue;
                }
                EXPECT_EQ(kind, raster::classifyEllipsePixel(box, box.left + box.right - 1 - x, y));
                EXPECT_EQ(kind, raster::classifyEllipsePixel(box, x, box.top + box.bottom - 1 - y));
                if (kind == raster::EllipsePixel::Outside)
                    continue;
                outline += kind == raster::EllipsePixel::Outline;
                touches[0] |= x == box.left, touches[1] |= x == box.right - 1;
                touches[2] |= y == box.top, touches[3] |= y == box.bottom - 1;
            }
        EXPECT_TRUE(touches[0] && touches[1] && touches[2] && touches[3]);
        EXPECT_GT(outline, 0);
    }
    EXPECT_EQ(raster::classifyEllipsePixel({5, 5, 5, 9}, 5, 6), raster::EllipsePixel::Outside);
}

TEST(GaugeRaster, LineLeavesOutItsLastPixel) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::black);
    raster::drawLine(image, QPoint(1, 1), QPoint(7, 4), qRgb(255, 0, 0));
    int drawn = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            drawn += at(image, x, y) == colour::Red;
    EXPECT_EQ(drawn, 6);  // one per column from 1 to 6
    EXPECT_EQ(at(image, 1, 1), colour::Red);
    EXPECT_EQ(at(image, 7, 4), colour::Black);
}

TEST(GaugeBitmaps, MakeLikeTakesTheTemplatesSizeAndTheFrameColour) {
    const QImage templ(37, 21, QImage::Format_RGB32);
    TBltBitmap bitmap;
    bitmap.MakeLike(templ);
    ASSERT_EQ(bitmap.size(), templ.size());
    const QRgb frame = toQColor(colour::WindowFrame).rgb();
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            ASSERT_EQ(bitmap.pixel(x, y), frame);

    bitmap.fill(QColor(10, 200, 30));
    bltClearToBlack(bitmap);
    EXPECT_EQ(at(bitmap, 36, 20), colour::Black);

    QImage dest(37, 21, QImage::Format_RGB32);
    dest.fill(QColor(255, 0, 0));
    bitmap.fill(QColor(255, 255, 255));
    bltXor(dest, bitmap);
    EXPECT_EQ(at(dest, 5, 5), colour::Aqua);
    EXPECT_EQ(qAlpha(dest.pixel(5, 5)), 255);
}

}  // namespace
}  // namespace zelvo
