#pragma once
// The focus frame: a dotted rectangle over the control that has the focus, shown from the first key
// pressed in the window on, and never before. A window used only with the mouse is therefore the
// picture it always was, as Windows hides its focus rectangles until the keyboard is used.

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace zelvo {

class FocusFrame : public QWidget {
    Q_OBJECT
public:
    // A child of `window`, above its other children, that the mouse goes through.
    explicit FocusFrame(QWidget* window);
    ~FocusFrame() override;

    bool keyboardUsed() const { return keyboardUsed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Moves over the focused control, or hides when there is none to show.
    void follow();

    QPointer<QWidget> target_;
    bool keyboardUsed_ = false;
};

// Where the frame goes on `control`, in its own coordinates: round an oval button's caption, as a
// push button draws it, and along the edge of any other control.
QRect FocusRectangle(const QWidget& control);

}  // namespace zelvo
