// The multi-line text box: its text as lines joined by "\r\n", adding lines, change signals,
// alignment and the mouse cursor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <string>
#include <vector>

#include "probes/Colour.h"
#include "ui/TMemo.h"

namespace zelvo {
namespace {

struct LinesCase {
    const char* name;
    QString initial;        // written with setText first
    QStringList additions;  // then each added with addLine
    QString text;           // the whole text afterwards
    QStringList lines;      // and its lines
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class MemoLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(MemoLines, AddingLinesGivesTheText) {
    const LinesCase& c = GetParam();
    TMemo memo;
    memo.setText(c.initial);
    for (const QString& line : c.additions)
        memo.addLine(line);
    EXPECT_EQ(memo.text(), c.text);
    EXPECT_EQ(memo.lines(), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Memo, MemoLines,
    ::testing::Values(
        LinesCase{"OneLine", "", {"a"}, "a\r\n", {"a"}}, LinesCase{"EmptyLine", "", {""}, "\r\n", {""}},
        LinesCase{"TwoEmptyLines", "", {"", ""}, "\r\n\r\n", {"", ""}},
        // An addition ending in a line break leaves an empty line before the next one.
        LinesCase{"BreakAtEndLeavesEmptyLine", "", {"x\r\n", "y"}, "x\r\n\r\ny\r\n", {"x", "", "y"}},
        LinesCase{"BreakInsideStartsNewLine", "", {"p1\r\np2"}, "p1\r\np2\r\n", {"p1", "p2"}},
        // The BIOS page: an empty line, two pieces as one addition, then the date.
        LinesCase{"BiosPieces",
                  "",
                  {"", "p1\r\np2\r\n", "date", "desc", "Ver 1"},
                  "\r\np1\r\np2\r\n\r\ndate\r\ndesc\r\nVer 1\r\n",
                  {"", "p1", "p2", "", "date", "desc", "Ver 1"}},
        // A text that does not end with a line break gets one before the new line.
        LinesCase{"AfterTextWithoutBreak", "abc", {"d"}, "abc\r\nd\r\n", {"abc", "d"}},
        LinesCase{"AfterTextWithBreak", "abc\r\n", {"d"}, "abc\r\nd\r\n", {"abc", "d"}},
        LinesCase{"SetTextKeepsCrLf", "x\r\ny", {}, "x\r\ny", {"x", "y"}},
        LinesCase{"LoneLineFeedBreaksToo", "x\ny", {}, "x\r\ny", {"x", "y"}},
        LinesCase{"SpacesKept", "\u3000a  ", {"  b\u3000"}, "\u3000a  \r\n  b\u3000\r\n", {"\u3000a  ", "  b\u3000"}},
        LinesCase{"Empty", "", {}, "", {}}),
    [](const ::testing::TestParamInfo<LinesCase>& paramInfo) { return std::string(paramInfo.param.name); });

TEST(TMemo, SetLinesEndsEveryLineWithABreak) {
    TMemo memo;
    memo.setLines({QStringLiteral("ハードディスク等"), QString(), QString()});
    EXPECT_EQ(memo.text(), QStringLiteral("ハードディスク等\r\n\r\n\r\n"));
    EXPECT_EQ(memo.lines(), QStringList({QStringLiteral("ハードディスク等"), QString(), QString()}));
    memo.addLines({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(memo.lines().size(), 5);
    EXPECT_EQ(memo.lines().last(), QStringLiteral("b"));
}

TEST(TMemo, WritingTheSameTextChangesNothing) {
    TMemo memo;
    QSignalSpy changed(&memo, &TMemo::textChanged);
    memo.setText(QStringLiteral("CPUクロック   \r\n"));
    EXPECT_EQ(changed.count(), 1);
    memo.setText(QStringLiteral("CPUクロック   \r\n"));
    EXPECT_EQ(changed.count(), 1);
    memo.setText(QStringLiteral("other"));
    EXPECT_EQ(changed.count(), 2);
    memo.addLine(QStringLiteral("x"));
    EXPECT_EQ(changed.count(), 3);
    memo.addLines({});
    EXPECT_EQ(changed.count(), 3);
}

TEST(TMemo, ANeverShownBoxKeepsItsTextAndLaysItOutWhenShown) {
    QWidget window;
    auto* memo = new TMemo(&window);
    memo->setGeometry(0, 0, 200, 60);
    QFont font = memo->font();
    font.setPixelSize(21);
    memo->setFont(font);
    QSignalSpy changes(memo, &QPlainTextEdit::textChanged);

    memo->setText(QStringLiteral("一\r\n二"));
    memo->addLine(QStringLiteral("三"));
    EXPECT_FALSE(memo->realised());
    EXPECT_EQ(changes.count(), 2) << "every change is reported, shown or not";
    EXPECT_EQ(memo->text(), QStringLiteral("一\r\n二\r\n三\r\n"));
    EXPECT_EQ(memo->lines(), (QStringList{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));

    window.show();
    EXPECT_TRUE(memo->realised());
    EXPECT_EQ(changes.count(), 2) << "showing the box is no change of its text";
    EXPECT_EQ(memo->text(), QStringLiteral("一\r\n二\r\n三\r\n"));
    EXPECT_EQ(memo->document()->defaultFont().pixelSize(), 21);
    EXPECT_EQ(memo->document()->blockCount(), 4);
    memo->addLine(QStringLiteral("四"));
    EXPECT_EQ(memo->lines().size(), 4);
}

TEST(TMemo, AddingKeepsTheFirstLinesInView) {
    TMemo memo;
    memo.resize(200, 40);
    memo.show();
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines << QString::number(i);
    memo.addLines(lines);
    memo.addLine(QStringLiteral("last"));
    QApplication::processEvents();
    QScrollBar* bar = memo.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
}

// The leftmost and rightmost columns holding a text pixel.
std::pair<int, int> inkColumns(TMemo& memo) {
    QApplication::processEvents();
    const QImage image = memo.viewport()->grab().toImage();
    const QRgb back = image.pixel(0, 0);
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != back) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST(TMemo, RightAlignedTextEndsAtTheRightEdgeCountingTrailingSpaces) {
    TMemo memo;
    memo.resize(200, 30);
    memo.setColor(colour::Black);
    memo.setFontColor(colour::White);
    memo.setText(QStringLiteral("ab"));
    memo.show();
    const auto [leftAligned, leftAlignedRight] = inkColumns(memo);
    EXPECT_LT(leftAligned, 10);

    memo.setAlignment(Qt::AlignRight);
    const auto [rightLeft, rightRight] = inkColumns(memo);
    EXPECT_GT(rightRight, 200 - 10);
    EXPECT_GT(rightLeft, 100);

    // Trailing spaces push the text away from the edge.
    memo.setText(QStringLiteral("ab   "));
    const auto [spacedLeft, spacedRight] = inkColumns(memo);
    EXPECT_LT(spacedRight, rightRight - 5);
}

TEST(TMemo, ReadOnlyBoxKeepsArrowCursorAndKeyboardCaret) {
    TMemo memo;
    memo.setArrowCursor(true);
    memo.setReadOnly(true);
    EXPECT_TRUE(memo.isReadOnly());
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(memo.textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    memo.setReadOnly(false);
    EXPECT_FALSE(memo.isReadOnly());
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::ArrowCursor);
    memo.setArrowCursor(false);
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST(TMemo, TabMovesTheFocusInsteadOfTyping) {
    TMemo memo;
    EXPECT_TRUE(memo.tabChangesFocus());
}

}  // namespace
}  // namespace zelvo
