// The one-line text box: change signal for typed and written text, colours, cursor, the text shown
// from its start and selected when entered (the caret it hides is TControlTest's).
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "probes/Colour.h"
#include "ui/ColourConvert.h"
#include "ui/TEdit.h"

namespace zelvo {
namespace {

struct Shown {
    QWidget window;
    TEdit* edit = new TEdit(&window);
    TEdit* other = new TEdit(&window);

    Shown() {
        edit->setGeometry(0, 0, 140, 18);
        other->setGeometry(0, 30, 140, 18);
        window.resize(200, 60);
        window.show();
        window.activateWindow();
    }
};

TEST(TEdit, EveryChangeOfTheTextIsSignalled) {
    Shown s;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.window));
    QSignalSpy changed(s.edit, &TEdit::textChanged);
    s.edit->setText(QStringLiteral("NewName"));
    EXPECT_EQ(changed.count(), 1);
    s.edit->setText(QStringLiteral("NewName"));
    EXPECT_EQ(changed.count(), 1);
    s.edit->setFocus(Qt::MouseFocusReason);
    s.edit->end(false);
    QTest::keyClicks(s.edit, QStringLiteral("ab"));
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(s.edit->text(), QStringLiteral("NewNameab"));
}

TEST(TEdit, ColoursCursorAndBorder) {
    TEdit edit;
    edit.setColor(colour::Navy);
    edit.setFontColor(colour::Aqua);
    edit.setBorderless(true);
    EXPECT_EQ(edit.palette().color(QPalette::Base), toQColor(colour::Navy));
    EXPECT_EQ(edit.palette().color(QPalette::Text), toQColor(colour::Aqua));
    EXPECT_FALSE(edit.hasFrame());
    edit.setArrowCursor(true);
    EXPECT_EQ(edit.cursor().shape(), Qt::ArrowCursor);
    edit.setArrowCursor(false);
    EXPECT_EQ(edit.cursor().shape(), Qt::IBeamCursor);
}

TEST(TEdit, ANewTextShowsFromItsStart) {
    TEdit edit;
    edit.resize(60, 18);
    edit.setText(QStringLiteral("Intel(R) Pentium(R) 4 CPU 2.40GHz"));
    EXPECT_EQ(edit.cursorPosition(), 0);
    EXPECT_FALSE(edit.hasSelectedText());
}

TEST(TEdit, EnteringByKeyboardOrProgramSelectsAllButAClickDoesNot) {
    Shown s;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.window));
    s.edit->setText(QStringLiteral("NewName"));
    for (Qt::FocusReason reason : {Qt::OtherFocusReason, Qt::TabFocusReason, Qt::BacktabFocusReason}) {
        SCOPED_TRACE(int(reason));
        s.other->setFocus();
        s.edit->deselect();
        s.edit->setFocus(reason);
        EXPECT_EQ(s.edit->selectedText(), QStringLiteral("NewName"));
    }
    s.other->setFocus();
    s.edit->deselect();
    QTest::mouseClick(s.edit, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(s.edit->hasFocus());
    EXPECT_FALSE(s.edit->hasSelectedText());
}

}  // namespace
}  // namespace zelvo
