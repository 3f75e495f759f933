// Display modes from recorded XRandR screens and DRM connector mode lists.

#include <gtest/gtest.h>

#include <functional>

#include "platform/linux/DisplayModes.h"
#include "platform/linux/DrmModes.h"

namespace zelvo::platform {

// In the record's namespace so that comparisons inside std::vector find them; internal linkage so
// other test files may have their own.
static bool operator==(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel && a.frequency == b.frequency;
}

[[maybe_unused]] static void PrintTo(const DisplayMode& mode, std::ostream* os) {
    *os << mode.width << "x" << mode.height << "x" << mode.bitsPerPixel << "@" << mode.frequency;
}

namespace {

// A desktop with a 1440p monitor on DisplayPort (primary) and a 1080p TV on HDMI, as XRandR
// reported it (mode timings from the monitors' EDIDs).
XrandrScreen desktopScreen() {
    XrandrScreen screen;
    screen.rootDepth = 24;
    screen.pixmapFormats = {{1, 1}, {4, 8}, {8, 8}, {15, 16}, {16, 16}, {24, 32}, {32, 32}};
    screen.modes = {
        {0x48, 2560, 1440, 241500000, 2720, 1481, false, false},  // 59.95 Hz
        {0x49, 2560, 1440, 586590000, 2720, 1498, false, false},  // 143.96 Hz
        {0x4a, 1920, 1080, 148500000, 2200, 1125, false, false},  // 60 Hz
        {0x4b, 1920, 1080, 148352000, 2200, 1125, false, false},  // 59.94 Hz
        {0x4c, 1920, 1080, 148500000, 2640, 1125, false, false},  // 50 Hz
        {0x4d, 1920, 1080, 74250000, 2200, 1125, true, false},    // 1080i
        {0x4e, 1280, 720, 74250000, 1650, 750, false, false},    {0x4f, 1024, 768, 65000000, 1344, 806, false, false},
        {0x50, 800, 600, 40000000, 1056, 628, false, false},     {0x51, 640, 480, 25175000, 800, 525, false, false},
        {0x52, 320, 240, 12587500, 400, 262, false, true},  // double scan
    };
    screen.outputs = {
        {"HDMI-1", true, true, false, {0x4a, 0x4c, 0x4d, 0x4e, 0x51}},
        {"DP-1", true, true, true, {0x48, 0x49, 0x4a, 0x4b, 0x4c, 0x4d, 0x4e, 0x4f, 0x50, 0x51}},
        {"DP-2", false, false, false, {}},
    };
    return screen;
}

TEST(LinuxDisplayModes, RefreshRateFromTimings) {
    const auto screen = desktopScreen();
    const std::uint32_t expected[] = {60, 144, 60, 60, 50, 60, 60, 60, 60, 60, 60};
    ASSERT_EQ(screen.modes.size(), std::size(expected));
    for (std::size_t i = 0; i < screen.modes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(refreshRate(screen.modes[i]), expected[i]);
    }
    EXPECT_EQ(refreshRate(XrandrMode{1, 640, 480, 0, 0, 0, false, false}), 0u);
}

// Sizes at 60 Hz and `bits` per pixel, as the modes list them.
std::vector<DisplayMode> at60Hz(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> sizes,
                                std::uint32_t bits = 32) {
    std::vector<DisplayMode> modes;
    for (const auto& [width, height] : sizes)
        modes.push_back({width, height, bits, 60});
    return modes;
}

// The monitor's sizes and the TV's, one entry per size, in their outputs' order.
const std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> kMonitorSizes = {
    {2560, 1440}, {1920, 1080}, {1280, 720}, {1024, 768}, {800, 600}, {640, 480}};
const std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> kTvSizes = {{1920, 1080}, {1280, 720}, {640, 480}};

// Recorded from Xvfb :99 -screen 0 1280x1024x24 (xrandr --verbose: one output "screen", one mode
// 0x3a without timings).
XrandrScreen xvfbScreen() {
    XrandrScreen screen;
    screen.rootDepth = 24;
    screen.pixmapFormats = {{1, 1}, {4, 8}, {8, 8}, {16, 16}, {24, 32}, {32, 32}};
    screen.modes = {{0x3a, 1280, 1024, 0, 0, 0, false, false}};
    screen.outputs = {{"screen", true, true, false, {0x3a}}};
    return screen;
}

TEST(LinuxDisplayModes, ModesOfTheChosenOutput) {
    // Each case changes the desktop's screen so.
    using Change = std::function<void(XrandrScreen&)>;
    const struct {
        const char* label;
        Change change;
        std::vector<DisplayMode> modes;
    } cases[] = {
        {"primary output, one entry per size, in the output's order", [](XrandrScreen&) {}, at60Hz(kMonitorSizes)},
        {"no primary: the first connected output with a CRTC", [](XrandrScreen& s) { s.outputs[1].primary = false; },
         at60Hz(kTvSizes)},
        {"lit output preferred to an unlit one",
         [](XrandrScreen& s) {
             s.outputs[1].primary = false;
             s.outputs[0].hasCrtc = false;
         },
         at60Hz(kMonitorSizes)},
        {"connected but unlit outputs only",
         [](XrandrScreen& s) {
             s.outputs[1].primary = false;
             s.outputs[0].hasCrtc = s.outputs[1].hasCrtc = false;
         },
         at60Hz(kTvSizes)},
        {"nothing connected", [](XrandrScreen& s) { s.outputs[0].connected = s.outputs[1].connected = false; }, {}},
        {"16-bit screen", [](XrandrScreen& s) { s.rootDepth = 16; }, at60Hz(kMonitorSizes, 16)},
        {"pixel format of the root depth unknown: no invented depth",
         [](XrandrScreen& s) {
             s.pixmapFormats = {{1, 1}, {8, 8}};
         },
         {}},
        {"unknown mode ids skipped",
         [](XrandrScreen& s) {
             s.outputs[1].modeIds = {0x99, 0x4e, 0x4e};
         },
         {{1280, 720, 32, 60}}},
        {"virtual X server without timings", [](XrandrScreen& s) { s = xvfbScreen(); }, {{1280, 1024, 32, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        XrandrScreen screen = desktopScreen();
        c.change(screen);
        EXPECT_EQ(modesFromXrandr(screen), c.modes);
    }
}

TEST(LinuxDisplayModes, ParsesDrmModeLists) {
    using Sizes = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    EXPECT_EQ(parseDrmModes("1920x1080\n1280x720\n"), (Sizes{{1920, 1080}, {1280, 720}}));
    EXPECT_EQ(parseDrmModes("1920x1080i\n720x576"), (Sizes{{1920, 1080}, {720, 576}}));
    EXPECT_EQ(parseDrmModes(""), Sizes{});
    EXPECT_EQ(parseDrmModes("garbage\nx\n0x0\n1920x\nx1080\n-1x5\n70000x10\n1920x1080p\n  800x600  \n"),
              (Sizes{{800, 600}}));
}

TEST(LinuxDisplayModes, ChoosesTheDrmConnector) {
    const std::vector<DrmConnector> connectors = {
        {"card0-DP-1", "disconnected\n", "disabled\n", ""},
        {"card0-HDMI-A-1", "connected\n", "disabled\n", "1920x1080\n1280x720\n"},
        {"card0-eDP-1", "connected\n", "enabled\n", "2880x1800\n2880x1800\n1920x1200\n"},
    };
    EXPECT_EQ(modesFromDrm(connectors, 32), (std::vector<DisplayMode>{{2880, 1800, 32, 0}, {1920, 1200, 32, 0}}));
    EXPECT_EQ(modesFromDrm({connectors[0], connectors[1]}, 16),
              (std::vector<DisplayMode>{{1920, 1080, 16, 0}, {1280, 720, 16, 0}}));
    EXPECT_EQ(modesFromDrm({connectors[0]}, 32), std::vector<DisplayMode>{});
    // A connected connector that lists no modes does not hide one that does.
    EXPECT_EQ(modesFromDrm({{"card0-DP-2", "connected\n", "enabled\n", ""}, connectors[1]}, 32),
              (std::vector<DisplayMode>{{1920, 1080, 32, 0}, {1280, 720, 32, 0}}));
}

TEST(LinuxDisplayModes, RepeatedSizesKeepTheFirst) {
    const std::vector<DisplayMode> modes = {
        {1920, 1080, 32, 60}, {1920, 1080, 32, 50}, {1920, 1080, 16, 60}, {1280, 720, 32, 60}, {1920, 1080, 32, 30}};
    EXPECT_EQ(withoutRepeatedSizes(modes),
              (std::vector<DisplayMode>{{1920, 1080, 32, 60}, {1920, 1080, 16, 60}, {1280, 720, 32, 60}}));
}

}  // namespace
}  // namespace zelvo::platform
