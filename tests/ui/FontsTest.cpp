// The three faces: the named face first, its IPA stand-in next, then the Japanese faces of every
// Windows, a generic family last; the height
// rule for negative (character) and positive (cell) heights.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>
#include <cmath>
#include <string>

#include "ui/Fonts.h"

namespace zelvo {
namespace {

struct FaceCase {
    const char* name;
    FontFace face;
    QString named;
    QString substitute;
    QString generic;
    bool fixedPitch;
};

void PrintTo(const FaceCase& c, std::ostream* os) {
    *os << c.name;
}

class Faces : public ::testing::TestWithParam<FaceCase> {};

TEST_P(Faces, RequestTheNamedFaceThenItsStandIn) {
    const FaceCase& c = GetParam();
    EXPECT_EQ(namedFamily(c.face), c.named);
    EXPECT_EQ(substituteFamily(c.face), c.substitute);
    const QFont font = makeFont(c.face, -15);
    EXPECT_EQ(font.families(), QStringList({c.named, c.substitute, QStringLiteral("Yu Gothic UI"),
                                            QStringLiteral("Meiryo"), QStringLiteral("MS UI Gothic"), c.generic}));
    EXPECT_EQ(font.fixedPitch(), c.fixedPitch);
    const QString resolved = QFontInfo(font).family();
    EXPECT_TRUE(resolved == c.named || resolved == c.substitute) << resolved.toStdString();
}

TEST_P(Faces, NegativeHeightIsTheCharacterHeightInPixels) {
    const FaceCase& c = GetParam();
    for (int h : {12, 13, 15, 16, 19, 20, 21, 23}) {
        for (bool bold : {false, true}) {
            for (bool italic : {false, true}) {
                const QFont font = makeFont(c.face, -h, bold, italic);
                EXPECT_EQ(font.pixelSize(), h);
                EXPECT_EQ(font.bold(), bold);
                EXPECT_EQ(font.italic(), italic);
            }
        }
    }
}

TEST_P(Faces, PositiveHeightIsTheCellHeight) {
    const FaceCase& c = GetParam();
    for (int h : {12, 16, 20, 24, 30}) {
        const QFont font = makeFont(c.face, h);
        const QFontMetricsF metrics(font);
        EXPECT_NEAR(metrics.ascent() + metrics.descent(), h, 1.0) << h;
        EXPECT_LE(font.pixelSize(), h);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, Faces,
    ::testing::Values(FaceCase{"G", FontFace::G, "ＭＳ Ｐゴシック", "IPAPGothic", "sans-serif", false},
                      FaceCase{"M", FontFace::M, "ＭＳ Ｐ明朝", "IPAPMincho", "serif", false},
                      FaceCase{"F", FontFace::F, "ＭＳ ゴシック", "IPAGothic", "monospace", true}),
    [](const ::testing::TestParamInfo<FaceCase>& paramInfo) { return std::string(paramInfo.param.name); });

TEST(Fonts, ZeroHeightKeepsTheDefaultSize) {
    const QFont font = makeFont(FontFace::G, 0);
    EXPECT_EQ(font.pixelSize(), QFont().pixelSize());
    EXPECT_EQ(font.pointSizeF(), QFont().pointSizeF());
}

}  // namespace
}  // namespace zelvo
