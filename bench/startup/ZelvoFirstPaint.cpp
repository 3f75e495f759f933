// The program as it starts for a user, ended at its window's first paint.
#include "FirstPaint.h"
#include "StepTrace.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
    zelvo::bench::TraceStartupStepsIfAsked();
    return zelvo::RunApplication(argc, argv, zelvo::bench::QuitAfterFirstPaint);
}
