#pragma once
// The primary display's modes as a Wayland compositor reports them (wl_output), for sessions where
// the program is a native Wayland client and XRandR is not there. The connection sits behind a seam
// so tests use recorded outputs.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace zelvo::platform {

// One wl_output "mode" event.
struct WaylandMode {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t refreshMilliHz = 0;
    bool current = false;
    bool preferred = false;
};

struct WaylandOutput {
    std::string name;                // "HDMI-A-1" from version 4 on, else empty
    std::vector<WaylandMode> modes;  // in the compositor's order
};

// Asks the compositor named by $WAYLAND_DISPLAY for its outputs, in the order it announces them;
// nullopt without a compositor.
class WaylandOutputSource {
public:
    virtual ~WaylandOutputSource() = default;
    virtual std::optional<std::vector<WaylandOutput>> query() = 0;
};

// The real source: its own short connection, apart from the toolkit's.
std::unique_ptr<WaylandOutputSource> makeWaylandOutputSource();

// Modes of the first output that lists any (Wayland names no primary output; the toolkit, too,
// takes the first as its primary screen), at 32 bits per pixel: the protocol reports no depth, and
// every compositor takes 32-bit XRGB buffers. Empty when no output lists a usable mode.
std::vector<DisplayMode> modesFromWayland(const std::vector<WaylandOutput>& outputs);

}  // namespace zelvo::platform
