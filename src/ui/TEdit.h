#pragma once
// TEdit: a one-line text box. textChanged() is raised for every change of the text, typed or
// written by the program; writing the text the box already holds does nothing. Entering the box
// by the keyboard or by the program selects all of its text; a click does not.

#include <QLineEdit>
#include <QString>

#include "ui/TControl.h"

namespace zelvo {

class CaretStyle;

class TEdit : public TTextBox<QLineEdit> {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);

    // Hides QLineEdit::setText so an unchanged text is not written again. The caret goes to the
    // start, so a long text shows its beginning.
    void setText(const QString& text);

    // No border: the text sits directly on the box's colour.
    void setBorderless(bool value) { setFrame(!value); }

    // The mouse cursor over the box: the arrow, or the text cursor.
    void setArrowCursor(bool value);
    bool arrowCursor() const { return arrowCursor_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void applyCaret(bool hidden) override;
    void realiseNow() override;

private:
    CaretStyle* caretStyle_ = nullptr;
    bool arrowCursor_ = false;
};

}  // namespace zelvo
