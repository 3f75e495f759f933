#include "FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

#include "ui/StartupSteps.h"

namespace zelvo::bench {

namespace {

class FirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Let this paint and the rest of the first frame finish and reach the screen first.
            QTimer::singleShot(0, this, [] {
                markStartupStep("first-paint");
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-paint %ld.%09ld\n", static_cast<long>(now.tv_sec), now.tv_nsec);
                std::fflush(stdout);
                // What the program itself put off until its first paint runs before the end, so
                // that it counts in the peak memory.
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

void QuitAfterFirstPaint(QWidget& window) {
    window.installEventFilter(new FirstPaintWatcher(&window));
}

}  // namespace zelvo::bench
