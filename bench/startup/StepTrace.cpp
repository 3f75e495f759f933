#include "StepTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "ui/StartupSteps.h"

namespace zelvo::bench {

namespace {

// The process's resident memory in KiB, or -1 where /proc does not tell.
long ResidentKiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    long kib = -1;
    char line[256];
    while (std::fgets(line, static_cast<int>(sizeof line), status))
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            kib = std::strtol(line + 6, nullptr, 10);
            break;
        }
    std::fclose(status);
    return kib;
}

// Standard output is a pipe to the script, so the lines wait in the buffer until the first-paint
// line flushes it: no write to the pipe in the middle of the start.
void PrintStep(const char* step) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("step %s %ld.%09ld %ld\n", step, static_cast<long>(now.tv_sec), now.tv_nsec, ResidentKiB());
}

}  // namespace

void TraceStartupStepsIfAsked() {
    if (!std::getenv("ZELVO_STARTUP_TRACE"))
        return;
    setStartupStepSink(PrintStep);
    markStartupStep("main");
}

}  // namespace zelvo::bench
