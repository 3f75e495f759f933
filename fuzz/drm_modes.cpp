// The kernel's DRM connectors (/sys/class/drm/cardN-NAME): status, enabled and the modes list of
// two connectors, as the display page's modes. Parts: status, enabled, modes, then the same for the
// second connector.

#include <set>

#include "FuzzInput.h"
#include "platform/linux/DrmModes.h"

using namespace zelvo;
using namespace zelvo::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::parts<6>(data, size);
    const std::vector<DrmConnector> connectors = {
        {"card0-HDMI-A-1", std::string(input[0]), std::string(input[1]), std::string(input[2])},
        {"card0-DP-1", std::string(input[3]), std::string(input[4]), std::string(input[5])},
    };
    for (const auto& [width, height] : parseDrmModes(input[2]))
        fuzz::require(width >= 1 && width <= 65535 && height >= 1 && height <= 65535, "a mode has a real size");
    std::set<std::pair<std::uint32_t, std::uint32_t>> sizes;
    for (const DisplayMode& mode : modesFromDrm(connectors, 32)) {
        fuzz::require(mode.bitsPerPixel == 32, "modes are at the frame buffer's depth");
        fuzz::require(sizes.insert({mode.width, mode.height}).second, "each size once");
    }
    return 0;
}
