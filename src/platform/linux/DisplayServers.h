#pragma once
// Whether a display server answers, asked before the toolkit connects (Qt ends the process when its
// platform cannot). Each opens a connection and closes it at once.

namespace zelvo::platform {

// The compositor of $WAYLAND_DISPLAY (default "wayland-0" in $XDG_RUNTIME_DIR); true without asking
// when $WAYLAND_SOCKET hands over a connection, which only its first user may take.
bool waylandDisplayReachable();

// The X server of $DISPLAY; false when $DISPLAY is unset.
bool x11DisplayReachable();

}  // namespace zelvo::platform
