// Labels size themselves to their text; a right-aligned one keeps its right edge.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>
#include <string>

#include "probes/Colour.h"
#include "ui/ColourConvert.h"
#include "ui/Fonts.h"
#include "ui/TLabel.h"

namespace zelvo {
namespace {

struct SizeCase {
    const char* name;
    bool right;
    QString first;
    QString second;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class LabelSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(LabelSize, KeepsTheEdgeItIsAlignedTo) {
    const SizeCase& c = GetParam();
    QWidget parent;
    auto* label = new TLabel(&parent);
    label->setGeometry(96, 53, 44, 19);
    label->setRightJustify(c.right);
    label->setFont(makeFont(FontFace::G, -19, true));
    parent.show();
    const QFontMetrics metrics(label->font());
    for (const QString& text : {c.first, c.second}) {
        SCOPED_TRACE(text.toStdString());
        label->setText(text);
        EXPECT_EQ(label->size(), QSize(metrics.horizontalAdvance(text), metrics.height()));
        EXPECT_EQ(label->y(), 53);
        if (c.right)
            EXPECT_EQ(label->x() + label->width(), 140);
        else
            EXPECT_EQ(label->x(), 96);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Label, LabelSize,
    ::testing::Values(SizeCase{"RightGrows", true, "7 %", "100 %"}, SizeCase{"RightShrinks", true, "100 %", "0 %"},
                      SizeCase{"RightEmpty", true, "100%", ""}, SizeCase{"LeftGrows", false, "7 %", "100 %"},
                      SizeCase{"LeftShrinks", false, "100 %", "0 %"}),
    [](const ::testing::TestParamInfo<SizeCase>& paramInfo) { return std::string(paramInfo.param.name); });

TEST(TLabel, ANewFontResizesAndKeepsTheRightEdge) {
    QWidget parent;
    auto* label = new TLabel(&parent);
    label->setGeometry(96, 53, 44, 19);
    label->setRightJustify(true);
    parent.show();
    label->setText(QStringLiteral("100%"));
    const int before = label->width();
    label->setFont(makeFont(FontFace::G, -30, true));
    EXPECT_GT(label->width(), before);
    EXPECT_EQ(label->x() + label->width(), 140);
    EXPECT_EQ(label->height(), QFontMetrics(label->font()).height());
}

TEST(TLabel, KeepsItsPlacedSizeUntilFirstShown) {
    QWidget parent;
    auto* label = new TLabel(&parent);
    label->setGeometry(96, 53, 44, 19);
    label->setRightJustify(true);
    label->setFont(makeFont(FontFace::G, -19, true));
    label->setText(QStringLiteral("100 %"));
    EXPECT_FALSE(label->realised());
    EXPECT_EQ(label->geometry(), QRect(96, 53, 44, 19));

    parent.show();
    EXPECT_TRUE(label->realised());
    const QFontMetrics metrics(label->font());
    EXPECT_EQ(label->size(), QSize(metrics.horizontalAdvance(QStringLiteral("100 %")), metrics.height()));
    EXPECT_EQ(label->x() + label->width(), 140);
}

TEST(TLabel, FontColourIsTheTextColourAndTheBackgroundStaysTheParents) {
    TLabel label;
    label.setFontColor(colour::Fuchsia);
    EXPECT_EQ(label.fontColor(), colour::Fuchsia);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), toQColor(colour::Fuchsia));
    EXPECT_FALSE(label.autoFillBackground());
    EXPECT_EQ(label.alignment() & Qt::AlignVertical_Mask, Qt::AlignTop);
}

}  // namespace
}  // namespace zelvo
