#include "app/FontconfigWarmUp.h"

#if defined(__linux__)
#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>
#endif

namespace zelvo {

std::jthread LoadFontconfigInBackground() {
#if defined(__linux__)
    // Safe beside the toolkit's own first call: fontconfig publishes the loaded configuration
    // atomically, and a call that finds none yet loads one itself.
    return std::jthread([] {
        // Only on a core nothing else wants: the window's thread and the X server come first, and
        // should this thread not be done in time, the toolkit's own call loads the configuration.
        const sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        FcInit();
    });
#else
    return {};
#endif
}

}  // namespace zelvo
