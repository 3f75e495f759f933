#pragma once
// What the platform layer needs of the desktop the window is on, and the beep.

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/DisplaySettings.h"

namespace zelvo::platform {

// The window system the program's windows are on, which decides where the display modes come from.
// XRandR is not asked on Wayland: the X server of $DISPLAY there is Xwayland, which knows only what
// the compositor told it, and which some compositors start on the first connection.
// Unconnected: a report, which opens no window-system connection, so only what the system tells without
// one (the kernel's mode lists) is asked.
enum class WindowSystem { Other, Wayland, Unconnected };  // Other: X11, offscreen, Windows, not yet known

// What only the toolkit can do or know, handed to the backend once the application exists. The
// functions are called on the user-interface thread; an empty one is not called.
struct DesktopServices {
    std::function<void()> beep;                                 // the desktop's beep
    std::function<std::optional<DisplayMode>()> currentScreen;  // the screen shown on; nullopt: unknown
    WindowSystem windowSystem = WindowSystem::Other;
    // To call when the user changed the regional settings, where the system does not tell the
    // toolkit itself; the receiver resets the thread locale and reads the separators again.
    std::function<void()> settingsChanged;
    // The toolkit's own connection to the X server (an XCB connection), where it has one: the X
    // queries use it rather than connect again. Null: they connect for themselves.
    void* x11Connection = nullptr;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Hands the backend the toolkit's services; the simulated machine and Windows (which sounds
    // its own beep) need none of them.
    // NOLINTNEXTLINE(performance-unnecessary-value-param): a sink; the backends that keep it move from it.
    virtual void connectDesktop(DesktopServices) {}
    // Sounds the system's beep of `type`; nothing happens where there is none.
    virtual void messageBeep(std::uint32_t type) = 0;
};

}  // namespace zelvo::platform
