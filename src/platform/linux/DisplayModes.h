#pragma once
// The primary display's modes as XRandR reports them on X11, behind a seam so tests use recorded
// screens; the kernel's lists have a unit of their own.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
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

// The real source: asks on the toolkit's connection (an XCB connection) when `toolkitConnection`
// gives one, and otherwise connects for one query and disconnects again.
std::unique_ptr<XrandrSource> makeX11XrandrSource(std::function<void*()> toolkitConnection);

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

}  // namespace zelvo::platform
