#pragma once
// The primary display's modes: from XRandR on X11, from the kernel's DRM connectors where there is
// no X server (Wayland, a console), and the X part behind a seam so tests use recorded screens.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace zelvo::platform {

// What XRandR reports about the default screen, copied out of the X structures.
struct XrandrMode {
    std::uint64_t id = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint64_t dotClock = 0;  // Hz
    std::uint32_t hTotal = 0;
    std::uint32_t vTotal = 0;
    bool interlaced = false;
    bool doubleScan = false;
};

struct XrandrOutput {
    std::string name;
    bool connected = false;
    bool hasCrtc = false;  // lit: driven by a CRTC
    bool primary = false;
    std::vector<std::uint64_t> modeIds;  // in the output's order (preferred first)
};

struct XrandrScreen {
    int rootDepth = 0;
    std::vector<std::pair<int, int>> pixmapFormats;  // (depth, bits per pixel)
    std::vector<XrandrMode> modes;
    std::vector<XrandrOutput> outputs;
};

// Reads the default screen of the X display named by $DISPLAY; nullopt without an X server or
// without RandR 1.2.
class XrandrSource {
public:
    virtual ~XrandrSource() = default;
    virtual std::optional<XrandrScreen> query() = 0;
};

// The real source: connects for one query and disconnects again.
std::unique_ptr<XrandrSource> makeX11XrandrSource();

// Bits per pixel of the screen's pixel format: a depth of 24 is stored in 32-bit pixels.
std::optional<std::uint32_t> screenBitsPerPixel(const XrandrScreen& screen);

// Refresh rate in whole Hz from the mode timings; 0 when they are unknown.
std::uint32_t refreshRate(const XrandrMode& mode);

// Modes of the primary output, else of the first connected output driven by a CRTC, else of the
// first connected output; empty when no output is connected or the pixel format is unknown.
std::vector<DisplayMode> modesFromXrandr(const XrandrScreen& screen);

// Keeps the first mode of every width × height × depth: an output lists one mode per refresh
// rate, and the page, which shows no rate, would list identical blocks.
std::vector<DisplayMode> withoutRepeatedSizes(const std::vector<DisplayMode>& modes);

// A DRM connector as sysfs shows it (/sys/class/drm/card0-HDMI-A-1).
struct DrmConnector {
    std::string name;     // "card0-HDMI-A-1"
    std::string status;   // contents of "status": "connected", "disconnected", "unknown"
    std::string enabled;  // contents of "enabled": "enabled" when a CRTC drives it
    std::string modes;    // contents of "modes": one "1920x1080" (or "1920x1080i") per line
};

// Sizes of a connector's "modes" file, in its order; malformed lines are skipped.
std::vector<std::pair<std::uint32_t, std::uint32_t>> parseDrmModes(std::string_view text);

// Modes of the first connected connector that is enabled, else of the first connected one, each
// at `bitsPerPixel`.
std::vector<DisplayMode> modesFromDrm(const std::vector<DrmConnector>& connectors, std::uint32_t bitsPerPixel);

}  // namespace zelvo::platform
