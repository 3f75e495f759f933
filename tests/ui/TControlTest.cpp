// What the controls share: a new colour repaints the control at once and the colour it already
// holds changes nothing; the mouse-down event runs after the control's own handling of the press;
// a text box's hidden caret stays hidden, in that box only, until the box is entered again.
#include <gtest/gtest.h>

#include <QStyle>
#include <QTest>
#include <functional>

#include "platform/sim/SimPlatform.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TPanel.h"

namespace zelvo {
namespace {

// One of each control in a window, one under the other: a control that others cover gets no paint.
struct Controls {
    platform::SimPlatform platform{platform::makeNtMachine()};
    QWidget window;
    TEdit* edit = new TEdit(&window);
    TMemo* memo = new TMemo(&window);
    TLabel* label = new TLabel(&window);
    TPanel* panel = new TPanel(&window);
    TDriveComboBox* combo = new TDriveComboBox(DriveRowsOf(platform.drives(), platform.text()), &window);
    TEdit* other = new TEdit(&window);  // has the focus before a click

    Controls() {
        label->setText(QStringLiteral("ＰＣ名"));  // an empty label has no area
        int y = 0;
        for (QWidget* control : std::initializer_list<QWidget*>{edit, memo, label, panel, combo, other}) {
            control->setGeometry(0, y, 100, 30);
            control->setContextMenuPolicy(Qt::PreventContextMenu);
            y += 40;
        }
        window.resize(120, y);
        window.show();
        window.activateWindow();
    }
};

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(TControl, AColourWriteRepaintsAtOnceAndTheSameColourDoesNothing) {
    Controls c;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c.window));
    const struct {
        const char* name;
        QWidget* painted;
        std::function<void(ColourValue)> write;
    } rows[] = {
        {"TEdit color", c.edit, [&c](ColourValue v) { c.edit->setColor(v); }},
        {"TEdit fontColor", c.edit, [&c](ColourValue v) { c.edit->setFontColor(v); }},
        {"TMemo color", c.memo->viewport(), [&c](ColourValue v) { c.memo->setColor(v); }},
        {"TLabel fontColor", c.label, [&c](ColourValue v) { c.label->setFontColor(v); }},
        {"TPanel color", c.panel, [&c](ColourValue v) { c.panel->setColor(v); }},
        {"TPanel fontColor", c.panel, [&c](ColourValue v) { c.panel->setFontColor(v); }},
        {"TDriveComboBox color", c.combo, [&c](ColourValue v) { c.combo->setColor(v); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PaintCounter counter;
        row.painted->installEventFilter(&counter);
        row.write(colour::Olive);
        EXPECT_EQ(counter.paints, 1);
        row.write(colour::Olive);
        EXPECT_EQ(counter.paints, 1);
        row.painted->removeEventFilter(&counter);
    }
}

TEST(TControl, MouseDownRunsAfterThePressForAnyButton) {
    Controls c;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&c.window));
    const struct {
        const char* name;
        QWidget* pressed;
        std::function<void()>& handler;
        QWidget* takesFocus;  // the text boxes take the focus with the press, before the event
    } rows[] = {
        {"TEdit", c.edit, c.edit->OnMouseDown, c.edit},
        {"TMemo", c.memo->viewport(), c.memo->OnMouseDown, c.memo},
        {"TLabel", c.label, c.label->OnMouseDown, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        c.other->setFocus();
        int calls = 0;
        bool hadFocus = false;
        row.handler = [&] {
            ++calls;
            hadFocus = row.takesFocus && row.takesFocus->hasFocus();
        };
        QTest::mouseClick(row.pressed, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(hadFocus, row.takesFocus != nullptr);
        QTest::mouseClick(row.pressed, Qt::RightButton, {}, QPoint(2, 2));
        EXPECT_EQ(calls, 2);
    }
}

int caretWidth(const TEdit* edit) {
    return edit->style()->pixelMetric(QStyle::PM_TextCursorWidth);
}

TEST(TControl, AHiddenCaretStaysHiddenInThatBoxOnlyUntilTheBoxIsEnteredAgain) {
    Controls c;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&c.window));
    const struct {
        const char* name;
        QWidget* box;
        std::function<void()> hide;
        std::function<bool()> hidden;
        std::function<int()> width;
    } rows[] = {
        {"TEdit", c.edit, [&c] { c.edit->hideCaret(); }, [&c] { return c.edit->caretHidden(); },
         [&c] { return caretWidth(c.edit); }},
        {"TMemo", c.memo, [&c] { c.memo->hideCaret(); }, [&c] { return c.memo->caretHidden(); },
         [&c] { return c.memo->cursorWidth(); }},
    };
    const int otherWidth = caretWidth(c.other);
    ASSERT_GT(otherWidth, 0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const int normal = row.width();
        ASSERT_GT(normal, 0);
        row.box->setFocus(Qt::TabFocusReason);
        row.hide();
        EXPECT_TRUE(row.hidden());
        EXPECT_EQ(row.width(), 0);
        EXPECT_EQ(caretWidth(c.other), otherWidth);
        c.other->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(row.hidden());
        row.box->setFocus(Qt::BacktabFocusReason);
        EXPECT_FALSE(row.hidden());
        EXPECT_EQ(row.width(), normal);
    }
}

}  // namespace
}  // namespace zelvo
