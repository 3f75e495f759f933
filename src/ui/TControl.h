#pragma once
// What the program's controls share, written once over whichever Qt widget each one is:
// - TColoured: the background (`color`) and text colour (`fontColor`) properties;
// - TControl: the mouse-down event and the work put off until the control is first shown;
// - TTextBox: the text boxes' caret that a click elsewhere hides, and their font put off too.
// Every property write follows one rule (PropertyWrite.h): a new value takes effect at once and
// the control is redrawn; writing the value already stored does nothing.

#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QShowEvent>
#include <QWidget>
#include <functional>

#include "probes/Colour.h"
#include "ui/ColourConvert.h"
#include "ui/PropertyWrite.h"

namespace zelvo {

template <typename QtBase>
class TColoured : public QtBase {
public:
    ColourValue color() const { return color_; }
    void setColor(ColourValue value) { writeColour(color_, value); }
    ColourValue fontColor() const { return fontColor_; }
    void setFontColor(ColourValue value) { writeColour(fontColor_, value); }

protected:
    TColoured(QWidget* parent, ColourValue color, ColourValue fontColor)
        : QtBase(parent), color_(color), fontColor_(fontColor) {}

    // Puts the colours where the widget draws them from (its palette); a control that resolves
    // them at each paint has nothing to do.
    virtual void applyColours() {}
    // Redraws the control now; nothing while it is hidden.
    virtual void repaintNow() { this->repaint(); }

    void changeEvent(QEvent* event) override {
        QtBase::changeEvent(event);
        // System colours follow the desktop's colour scheme.
        if (event->type() == QEvent::ApplicationPaletteChange)
            applyColours();
    }

private:
    void writeColour(ColourValue& stored, ColourValue value) {
        if (!storeIfChanged(stored, value))
            return;
        applyColours();
        repaintNow();
    }

    ColourValue color_;
    ColourValue fontColor_;
};

template <typename QtBase>
class TControl : public TColoured<QtBase> {
public:
    // Runs after the control's own handling of a mouse press, for any button.
    std::function<void()> OnMouseDown;

    // Does now what the control puts off until it is first shown (laying out or measuring its text
    // in its font), so a window's hidden pages cost nothing at start-up.
    void realise() {
        if (realised_)
            return;
        realised_ = true;
        realiseNow();
    }
    bool realised() const { return realised_; }

protected:
    using TColoured<QtBase>::TColoured;

    // The work realise() does, once.
    virtual void realiseNow() {}

    void showEvent(QShowEvent* event) override {
        realise();
        QtBase::showEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        QtBase::mousePressEvent(event);
        if (OnMouseDown)
            OnMouseDown();
    }

private:
    bool realised_ = false;
};

template <typename QtBase>
class TTextBox : public TControl<QtBase> {
public:
    // Hides the caret until the box next gets the focus by other means than a mouse press.
    void hideCaret() {
        if (caretHidden_)
            return;
        caretHidden_ = true;
        applyCaret(true);
    }
    bool caretHidden() const { return caretHidden_; }

protected:
    explicit TTextBox(QWidget* parent) : TControl<QtBase>(parent, colour::WindowColour, colour::WindowText) {}

    // Hides or shows the caret in the widget's own way.
    virtual void applyCaret(bool hidden) = 0;

    // The text sits on the box's colour.
    void applyColours() override {
        QPalette palette = this->palette();
        const QColor back = toQColor(this->color());
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::Text, toQColor(this->fontColor()));
        this->setPalette(palette);
    }

    void changeEvent(QEvent* event) override {
        // Until the box is realised its font waits, so that nothing is laid out in it.
        if (!this->realised() && event->type() == QEvent::FontChange) {
            // Past the Qt box's own handler on purpose: that is the layout that must wait.
            QWidget::changeEvent(event);  // NOLINT(bugprone-parent-virtual-call)
            return;
        }
        TControl<QtBase>::changeEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override {
        this->realise();
        if (caretHidden_) {
            caretHidden_ = false;
            applyCaret(false);
        }
        QtBase::focusInEvent(event);
    }

private:
    bool caretHidden_ = false;
};

}  // namespace zelvo
