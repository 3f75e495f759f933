#include "app/DisplayChoice.h"

#include <QList>

namespace zelvo {

DisplayChoice chooseDisplay(const DisplayEnvironment& environment) {
    if (!environment.platform.isEmpty()) {
        // The toolkit tries the listed platforms in order and takes the first that starts.
        for (const QByteArray& entry : environment.platform.split(';')) {
            const qsizetype options = entry.indexOf(':');
            const QByteArray name = (options < 0 ? entry : entry.left(options)).trimmed();
            if (name.startsWith("wayland")) {
                if (environment.waylandReachable())
                    return DisplayChoice::AsConfigured;
            } else if (name == "xcb") {
                if (environment.x11Reachable())
                    return DisplayChoice::AsConfigured;
            } else if (!name.isEmpty()) {
                return DisplayChoice::AsConfigured;
            }
        }
        return DisplayChoice::None;
    }
    // Unset: the toolkit takes Wayland in a Wayland session, X otherwise.
    const bool waylandSession = environment.sessionType == "wayland";
    if (waylandSession && environment.waylandReachable())
        return DisplayChoice::AsConfigured;
    if (environment.x11Reachable())
        return DisplayChoice::AsConfigured;
    if (!waylandSession && environment.waylandReachable())
        return DisplayChoice::Wayland;
    return DisplayChoice::None;
}

}  // namespace zelvo
