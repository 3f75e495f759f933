#include "ui/WindowCentring.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace zelvo {

namespace {

// Waits for the window's first showing, then for its first exposure, when the frame is known.
class OuterFrameCentring : public QObject {
public:
    OuterFrameCentring(QWidget& window, QSize screen)
        : QObject(&window), window_(window), screen_(screen), placedAt_(window.pos()) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        QWindow* handle = window_.windowHandle();
        if (watched == &window_ && event->type() == QEvent::Show && handle) {
            window_.removeEventFilter(this);
            handle->installEventFilter(this);
        } else if (handle && watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
            handle->removeEventFilter(this);
            if (window_.pos() == placedAt_) {
                const QPoint outer = CentredPosition(screen_, window_.frameSize());
                if (outer != window_.pos())
                    window_.move(outer);
            }
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    QSize screen_;
    QPoint placedAt_;
};

}  // namespace

QPoint CentredPosition(QSize screen, QSize window) {
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

void CentreOnScreen(QWidget& window, QSize screen) {
    window.move(CentredPosition(screen, window.frameSize()));
    if (!window.isVisible())
        new OuterFrameCentring(window, screen);
}

}  // namespace zelvo
