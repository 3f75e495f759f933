#include "app/FontconfigWarmUp.h"

#if defined(__linux__)
#include <fontconfig/fontconfig.h>
#endif

namespace zelvo {

std::jthread LoadFontconfigInBackground() {
#if defined(__linux__)
    // Safe beside the toolkit's own first call: fontconfig publishes the loaded configuration
    // atomically, and a call that finds none yet loads one itself.
    return std::jthread([] { FcInit(); });
#else
    return {};
#endif
}

}  // namespace zelvo
