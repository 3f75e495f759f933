#include "ui/WindowKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <QWidget>

namespace zelvo {

WindowKeys::WindowKeys(QWidget* window, QTabWidget* pages, std::function<QWidget*()> editor,
                       std::function<void()> cancel)
    : QObject(window), window_(window), pages_(pages), editor_(std::move(editor)), cancel_(std::move(cancel)) {
    qApp->installEventFilter(this);
}

WindowKeys::~WindowKeys() {
    qApp->removeEventFilter(this);
}

namespace {

// The page `step` pages on from `current` among `count` pages, round the end, skipping those
// `shown` says are hidden; `current` when no other page is shown.
int NextShownPage(int current, int count, int step, const std::function<bool(int)>& shown) {
    if (count <= 0)
        return current;
    int page = current;
    for (int tried = 0; tried < count; ++tried) {
        page = ((page + step) % count + count) % count;
        if (shown(page))
            return page;
    }
    return current;
}

}  // namespace

void WindowKeys::turnPage(int step) {
    const int page = NextShownPage(pages_->currentIndex(), pages_->count(), step, [this](int index) {
        return pages_->isTabVisible(index) && pages_->isTabEnabled(index);
    });
    pages_->setCurrentIndex(page);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_PageDown)) {
        turnPage(1);
        return true;
    }
    if ((modifiers == (Qt::ControlModifier | Qt::ShiftModifier) &&
         (key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Tab)) ||
        (modifiers == Qt::ControlModifier && key->key() == Qt::Key_PageUp)) {
        turnPage(-1);
        return true;
    }
    const QWidget* editor = editor_();
    if (modifiers == Qt::NoModifier && key->key() == Qt::Key_Escape && editor && editor->isVisible()) {
        const QWidget* focus = QApplication::focusWidget();
        if (focus && editor->isAncestorOf(focus)) {
            cancel_();
            return true;
        }
    }
    return false;
}

}  // namespace zelvo
