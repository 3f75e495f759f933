#pragma once
// The kernel's display-mode lists: every DRM connector in /sys/class/drm publishes the modes of the
// monitor on it, readable without a display server (Wayland, a console).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace zelvo::platform {

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

// The connectors below `sysRoot`/class/drm, in directory order; empty without DRM.
std::vector<DrmConnector> readDrmConnectors(const std::string& sysRoot);

// The modes of the kernel's chosen connector, at the frame buffer's depth (32 bits per pixel when
// the kernel publishes no frame buffer); empty without a connected connector.
std::vector<DisplayMode> readDrmModes(const std::string& sysRoot);

}  // namespace zelvo::platform
