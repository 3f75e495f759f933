#pragma once
// The primary display's modes.

#include <cstdint>
#include <optional>

namespace zelvo::platform {

struct DisplayMode {
    std::uint32_t width = 0;         // pixels
    std::uint32_t height = 0;        // pixels
    std::uint32_t bitsPerPixel = 0;  // colour depth
    std::uint32_t frequency = 0;     // Hz, 0 when unknown
};

class DisplaySettings {
public:
    virtual ~DisplaySettings() = default;

    // Display mode `index` of the primary display; nullopt past the last mode.
    virtual std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const = 0;
    // The primary display's current mode; nullopt where the system cannot name it.
    virtual std::optional<DisplayMode> currentDisplayMode() const { return std::nullopt; }
};

}  // namespace zelvo::platform
