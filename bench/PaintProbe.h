#pragma once
// A shown widget asked to repaint at 60 Hz that notes the longest time between two paints: how
// long the window of a program on the same thread would have gone without a repaint.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>

class PaintProbe final : public QWidget {
public:
    PaintProbe() {
        resize(200, 100);
        show();
        connect(&ticker_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        ticker_.start(16);
    }
    // Starts a measurement now, as if the probe had just painted.
    void restart() {
        longestMs_ = 0;
        clock_.start();
    }
    // The longest gap since restart(), the one still open included.
    qint64 longestMs() const { return std::max(longestMs_, clock_.elapsed()); }
    // The longest gap while the event loop runs for `settleMs`, then `action` from it, then the loop
    // for `settleMs` more: a synchronous action's gap with the paints on either side, as a user
    // would see it, comparable with a gap measured across a running loop.
    qint64 longestGapAround(const std::function<void()>& action, int settleMs = 100) {
        QEventLoop loop;
        QTimer::singleShot(settleMs, Qt::PreciseTimer, &loop, [&] {
            action();
            QTimer::singleShot(settleMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        });
        restart();
        loop.exec();
        return longestMs();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (clock_.isValid())
            longestMs_ = std::max(longestMs_, clock_.restart());
    }

private:
    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 longestMs_ = 0;
};
