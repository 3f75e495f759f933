#pragma once
// TEdit: a one-line text box. textChanged() is raised for every change of the text, typed or
// written by the program; writing the text the box already holds does nothing. Entering the box
// by the keyboard or by the program selects all of its text; a click does not.

#include <QLineEdit>
#include <QString>
#include <functional>

#include "probes/Colour.h"

namespace zelvo {

class CaretStyle;

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);

    // Hides QLineEdit::setText so an unchanged text is not written again. The caret goes to the
    // start, so a long text shows its beginning.
    void setText(const QString& text);

    ColourValue color() const { return color_; }
    void setColor(ColourValue value);
    ColourValue fontColor() const { return fontColor_; }
    void setFontColor(ColourValue value);

    // No border: the text sits directly on the box's colour.
    void setBorderless(bool value) { setFrame(!value); }

    // The mouse cursor over the box: the arrow, or the text cursor.
    void setArrowCursor(bool value);
    bool arrowCursor() const { return arrowCursor_; }

    // Hides the caret until the box next gets the focus by other means than a mouse press.
    void hideCaret();
    bool caretHidden() const { return caretHidden_; }

    // Runs after the box's own handling of a mouse press (which takes the focus), for any button.
    std::function<void()> OnMouseDown;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void applyColours();
    void setCaretHidden(bool value);

    CaretStyle* caretStyle_ = nullptr;
    ColourValue color_ = colour::WindowColour;
    ColourValue fontColor_ = colour::WindowText;
    bool arrowCursor_ = false;
    bool caretHidden_ = false;
    // A box that has never been shown lays its text out in its font only when first shown, so a
    // window's hidden pages cost nothing at start-up.
    bool realised_ = false;
    void realise();
};

}  // namespace zelvo
