#pragma once
// Keys that act on the whole window whichever of its controls has the focus:
// - Ctrl+Tab and Ctrl+PageDown turn to the next page, Ctrl+Shift+Tab and Ctrl+PageUp to the previous
//   one, round the end, passing over hidden pages;
// - Escape while the focus is inside the editor box runs its cancel action.

#include <QObject>
#include <functional>

class QTabWidget;
class QWidget;

namespace zelvo {

class WindowKeys : public QObject {
public:
    // Watches every key pressed in `window` (an application event filter, so the keys come here
    // before the focused control takes them); owned by the window. `editor` gives the editor box,
    // or null while the page that holds it is not built.
    WindowKeys(QWidget* window, QTabWidget* pages, std::function<QWidget*()> editor, std::function<void()> cancel);
    ~WindowKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void turnPage(int step);

    QWidget* window_;
    QTabWidget* pages_;
    std::function<QWidget*()> editor_;
    std::function<void()> cancel_;
};

}  // namespace zelvo
