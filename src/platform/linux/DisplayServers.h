#pragma once
// Whether a display server answers, asked before the toolkit connects (Qt ends the process when its
// platform cannot).

#include <memory>

namespace zelvo::platform {

// Whether the socket of the compositor named by $WAYLAND_DISPLAY (default "wayland-0" in
// $XDG_RUNTIME_DIR) takes a connection, which is left at once; true without asking when
// $WAYLAND_SOCKET hands over a connection, which only its first user may take.
bool waylandDisplayReachable();

// A connection to the X server of $DISPLAY, to be held until the toolkit has its own: an X server
// resets when its last client leaves, and refuses or delays new clients meanwhile. Null when $DISPLAY
// is unset or the server does not answer.
std::shared_ptr<void> openX11Display();

}  // namespace zelvo::platform
