// Whether the program starts the toolkit, asks it for Wayland, or says that no display answers.

#include <gtest/gtest.h>

#include "app/DisplayChoice.h"

namespace zelvo {
namespace {

TEST(DisplayChoice, StartsOnlyWhereTheToolkitWillConnect) {
    using enum DisplayChoice;
    const struct {
        const char* platform;
        const char* session;
        bool wayland;
        bool x11;
        DisplayChoice choice;
        bool asksX;
    } cases[] = {
        {"offscreen", "", false, false, AsConfigured, false},
        {"minimal", "", false, false, AsConfigured, false},
        {"xcb", "x11", false, false, None, true},
        {"xcb", "x11", true, false, None, true},
        {"xcb:nomitshm", "", false, true, AsConfigured, true},
        {"wayland", "", false, true, None, false},
        {"wayland-egl", "", true, false, AsConfigured, false},
        {"wayland;xcb", "", false, true, AsConfigured, true},
        {"wayland;offscreen", "", false, false, AsConfigured, false},
        {"", "x11", false, true, AsConfigured, true},
        {"", "", true, false, Wayland, true},
        {"", "", false, false, None, true},
        // A Wayland session's toolkit takes the compositor; X (perhaps an on-demand Xwayland) is
        // not woken.
        {"", "wayland", true, true, AsConfigured, false},
        {"", "wayland", false, true, AsConfigured, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.platform) + " / " + c.session);
        bool askedX = false;
        const DisplayEnvironment environment{c.platform, c.session, [&c] { return c.wayland; },
                                             [&c, &askedX] {
                                                 askedX = true;
                                                 return c.x11;
                                             }};
        EXPECT_EQ(chooseDisplay(environment), c.choice);
        EXPECT_EQ(askedX, c.asksX);
    }
}

}  // namespace
}  // namespace zelvo
