// The refusal box's layout: its text wrapped at half the screen's width, and room for its caption.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include "ui/MessageBoxes.h"
#include "ui/WindowCentring.h"

namespace zelvo {
namespace {

const QString kRefusal = QStringLiteral("コンピュータ名を変更できません。");

struct WrapRow {
    int screenWidth;
    QString message;
    bool oneLine;
};

class RefusalBoxWrap : public testing::TestWithParam<WrapRow> {};

TEST_P(RefusalBoxWrap, TextWrapsAtHalfTheScreenAndTheCaptionFits) {
    const WrapRow row = GetParam();
    const auto box = MakeRefusalBox(nullptr, row.message, QSize(row.screenWidth, 600));
    const auto* label = box->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    const QFontMetrics metrics = label->fontMetrics();
    const QRect text = label->contentsRect();
    EXPECT_LE(text.width(), row.screenWidth / 2);
    if (row.oneLine) {
        EXPECT_GE(text.width(), metrics.horizontalAdvance(row.message));
        EXPECT_LT(text.height(), 2 * metrics.height());
    } else {
        EXPECT_GE(text.height(), 2 * metrics.height());
    }
    EXPECT_GE(box->width(), RefusalBoxCaptionWidth(*box));
    EXPECT_GT(RefusalBoxCaptionWidth(*box), QFontMetrics(box->font()).horizontalAdvance(box->windowTitle()));
}

INSTANTIATE_TEST_SUITE_P(Screens, RefusalBoxWrap,
                         testing::Values(WrapRow{1024, kRefusal, true}, WrapRow{640, kRefusal, true},
                                         // Half of 200 holds only part of the text.
                                         WrapRow{200, kRefusal, false},
                                         // A text narrower than the caption.
                                         WrapRow{1024, QStringLiteral("名"), true}));

TEST(RefusalBox, OpensCentredByItsOuterSize) {
    const QSize screen(1024, 768);
    const auto box = MakeRefusalBox(nullptr, kRefusal, screen);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    // The offscreen platform gives windows a frame, as a window manager does.
    ASSERT_NE(box->frameSize(), box->size());
    EXPECT_EQ(box->frameGeometry().topLeft(), CentredPosition(screen, box->frameSize()));
}

}  // namespace
}  // namespace zelvo
