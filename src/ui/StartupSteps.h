#pragma once
// Named moments of the start-up (the application object made, each page filled, the window shown)
// for the start-up benchmark to time. The program itself installs no sink, so a mark costs the
// test of a null pointer; what a step costs in time or memory is the benchmark's business.

namespace zelvo {

using StartupStepSink = void (*)(const char* step);

// Installs `sink` to be told of every later mark (null stops it).
void setStartupStepSink(StartupStepSink sink);

namespace detail {
extern StartupStepSink startupStepSink;
}  // namespace detail

// `step` is a short name without spaces, e.g. "form-created".
inline void markStartupStep(const char* step) {
    if (detail::startupStepSink)
        detail::startupStepSink(step);
}

}  // namespace zelvo
