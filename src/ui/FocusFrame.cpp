#include "ui/FocusFrame.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include "ui/TOvalButton.h"

namespace zelvo {

FocusFrame::FocusFrame(QWidget* window) : QWidget(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this] { follow(); });
}

FocusFrame::~FocusFrame() {
    qApp->removeEventFilter(this);
}

QRect FocusRectangle(const QWidget& control) {
    if (const auto* button = qobject_cast<const TOvalButton*>(&control)) {
        const QRect caption =
            QFontMetrics(button->font()).boundingRect(button->rect(), Qt::AlignCenter, button->caption());
        return caption.adjusted(-3, -1, 3, 1) & button->rect().adjusted(4, 3, -4, -3);
    }
    return control.rect();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && !keyboardUsed_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window()) {
        keyboardUsed_ = true;
        follow();
    } else if (watched == target_ &&
               (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide)) {
        follow();
    }
    return false;
}

void FocusFrame::follow() {
    QWidget* focus = QApplication::focusWidget();
    target_ = focus;
    if (!keyboardUsed_ || !focus || focus->window() != window() || !focus->isVisible()) {
        hide();
        return;
    }
    const QRect area = FocusRectangle(*focus);
    setGeometry(QRect(focus->mapTo(window(), area.topLeft()), area.size()));
    raise();
    show();
    update();
}

void FocusFrame::paintEvent(QPaintEvent*) {
    // Black under white dots, to be seen on the pages' black and on the boxes' white frames alike.
    QPainter painter(this);
    const QRect edge = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(edge);
    QPen dots(Qt::white, 1);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.drawRect(edge);
}

}  // namespace zelvo
