#pragma once
// Reports the moment a window first finishes painting, on standard output as CLOCK_MONOTONIC
// seconds, then ends the program: the start-up benchmark's measuring point.

class QWidget;

namespace zelvo::bench {

void QuitAfterFirstPaint(QWidget& window);

}  // namespace zelvo::bench
