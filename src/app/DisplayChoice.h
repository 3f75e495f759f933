#pragma once
// Whether the toolkit will find a display, decided before the application object exists: Qt ends
// the process with an abort when its platform cannot connect, where the program should say so in
// one line and end with a failure status.

#include <QByteArray>

#include <functional>

namespace zelvo {

struct DisplayEnvironment {
    QByteArray platform;     // $QT_QPA_PLATFORM: "" or a ';'-separated list, each "name[:options]"
    QByteArray sessionType;  // $XDG_SESSION_TYPE
    // Asked only when the answer matters: a connection to X can start an on-demand Xwayland.
    std::function<bool()> waylandReachable;
    std::function<bool()> x11Reachable;
};

enum class DisplayChoice {
    AsConfigured,  // the toolkit's own choice will connect
    Wayland,       // only a compositor answers, and the toolkit would try X: ask it for Wayland
    None,          // nothing the toolkit would try answers
};

// Platforms without a display server of their own (offscreen, minimal, eglfs, vnc, …) are taken
// as they are.
DisplayChoice chooseDisplay(const DisplayEnvironment& environment);

}  // namespace zelvo
