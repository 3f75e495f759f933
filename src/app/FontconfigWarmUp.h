#pragma once
// Fontconfig reads its configuration and its font caches the first time it is asked, and the
// toolkit first asks when the window builds its first control. Started with the program on a
// thread of its own, that reading is done, or well under way, by then.

#include <thread>

namespace zelvo {

// Starts loading fontconfig's configuration on a thread of its own, which the returned object
// joins when it goes; where the toolkit does not use fontconfig, a thread that never started.
std::jthread LoadFontconfigInBackground();

}  // namespace zelvo
