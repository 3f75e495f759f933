#pragma once
// The start-up benchmark's trace mode: when ZELVO_STARTUP_TRACE is set (measure_startup.py
// --trace sets it), every start-up step the program marks is printed on standard output as
//     step NAME SECONDS RSS_KIB
// with SECONDS on CLOCK_MONOTONIC and RSS_KIB the VmRSS the kernel reports right after the step.
// Unset, nothing is installed and the start is timed as the user gets it.

namespace zelvo::bench {

// Installs the trace when asked for and marks the step "main": the time to here is the loading and
// linking of the program and its libraries.
void TraceStartupStepsIfAsked();

}  // namespace zelvo::bench
