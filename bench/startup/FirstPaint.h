#pragma once
// Reports the moment a window first finishes painting, on standard output as CLOCK_MONOTONIC
// seconds, then ends the program once the work already waiting is done: the start-up benchmark's
// measuring point.

class QWidget;

namespace zelvo::bench {

void QuitAfterFirstPaint(QWidget& window);

}  // namespace zelvo::bench
