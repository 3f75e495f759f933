#include "platform/linux/DisplayServers.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace zelvo::platform {

// A plain socket connection, as libwayland makes it: linking libwayland for this one question would
// load it (and libffi) into every start on X11 too, where the toolkit never needs it.
bool waylandDisplayReachable() {
    if (const char* socket = std::getenv("WAYLAND_SOCKET"); socket && *socket)
        return true;
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::string path = name && *name ? name : "wayland-0";
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime)
            return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// XCB rather than Xlib: the toolkit's own connection is XCB, and an Xlib display would set up
// buffers and tables that nothing uses.
std::shared_ptr<void> openX11Display() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return nullptr;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::shared_ptr<void>(connection, [](void* open) { xcb_disconnect(static_cast<xcb_connection_t*>(open)); });
}

}  // namespace zelvo::platform
