#include "ui/StartupSteps.h"

namespace zelvo {

namespace detail {
StartupStepSink startupStepSink = nullptr;
}  // namespace detail

void setStartupStepSink(StartupStepSink sink) {
    detail::startupStepSink = sink;
}

}  // namespace zelvo
