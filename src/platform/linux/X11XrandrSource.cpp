// The XRandR query against the real X server. Kept in its own file so that no other file sees the
// X headers (their macros, such as Status and None, clash with ordinary names).

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <functional>
#include <memory>

#include "platform/linux/DisplayModes.h"

namespace zelvo::platform {

namespace {

// Xlib's default error handler ends the process; a failed request here must only fail the query.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

class ScopedErrorHandler {
public:
    ScopedErrorHandler() : previous_(XSetErrorHandler(ignoreXError)) {}
    ~ScopedErrorHandler() { XSetErrorHandler(previous_); }
    ScopedErrorHandler(const ScopedErrorHandler&) = delete;
    ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;

private:
    XErrorHandler previous_;
};

class X11XrandrSource final : public XrandrSource {
public:
    explicit X11XrandrSource(std::function<void*()> toolkitDisplay) : toolkitDisplay_(std::move(toolkitDisplay)) {}

    std::optional<XrandrScreen> query() override {
        const ScopedErrorHandler errorHandler;
        // A connection of its own costs the window a few milliseconds at start-up; XOpenDisplay
        // reads $DISPLAY, and on Wayland without Xwayland or headless there is none.
        auto* shared = static_cast<Display*>(toolkitDisplay_ ? toolkitDisplay_() : nullptr);
        const bool own = shared == nullptr;
        // A connection the query opened is closed again; the toolkit's stays open.
        const auto close = [own](Display* connection) {
            if (own)
                XCloseDisplay(connection);
        };
        std::unique_ptr<Display, decltype(close)> display(own ? XOpenDisplay(nullptr) : shared, close);
        if (!display)
            return std::nullopt;
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XRRQueryExtension(display.get(), &eventBase, &errorBase) ||
            !XRRQueryVersion(display.get(), &major, &minor) || major < 1 || (major == 1 && minor < 2))
            return std::nullopt;

        const int screenNumber = DefaultScreen(display.get());
        const Window root = RootWindow(display.get(), screenNumber);
        XrandrScreen screen;
        screen.rootDepth = DefaultDepth(display.get(), screenNumber);
        int formatCount = 0;
        if (XPixmapFormatValues* formats = XListPixmapFormats(display.get(), &formatCount)) {
            for (int i = 0; i < formatCount; ++i)
                screen.pixmapFormats.emplace_back(formats[i].depth, formats[i].bits_per_pixel);
            XFree(formats);
        }

        // RandR 1.3's "current" variant answers from the server's cache instead of probing every
        // output, which can take a noticeable time on some drivers.
        const bool randr13 = major > 1 || minor >= 3;
        std::unique_ptr<XRRScreenResources, void (*)(XRRScreenResources*)> resources(
            randr13 ? XRRGetScreenResourcesCurrent(display.get(), root) : XRRGetScreenResources(display.get(), root),
            XRRFreeScreenResources);
        if (!resources)
            return std::nullopt;
        for (int i = 0; i < resources->nmode; ++i) {
            const XRRModeInfo& info = resources->modes[i];
            screen.modes.push_back(XrandrMode{info.id, info.width, info.height, info.dotClock, info.hTotal, info.vTotal,
                                              (info.modeFlags & RR_Interlace) != 0,
                                              (info.modeFlags & RR_DoubleScan) != 0});
        }
        const RROutput primary = randr13 ? XRRGetOutputPrimary(display.get(), root) : 0;
        for (int i = 0; i < resources->noutput; ++i) {
            std::unique_ptr<XRROutputInfo, void (*)(XRROutputInfo*)> info(
                XRRGetOutputInfo(display.get(), resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
            if (!info)
                continue;
            XrandrOutput output;
            output.name.assign(info->name, static_cast<std::size_t>(info->nameLen));
            output.connected = info->connection == RR_Connected;
            output.hasCrtc = info->crtc != 0;
            output.primary = resources->outputs[i] == primary;
            for (int m = 0; m < info->nmode; ++m)
                output.modeIds.push_back(info->modes[m]);
            screen.outputs.push_back(std::move(output));
        }
        return screen;
    }

private:
    std::function<void*()> toolkitDisplay_;
};

}  // namespace

std::unique_ptr<XrandrSource> makeX11XrandrSource(std::function<void*()> toolkitDisplay) {
    return std::make_unique<X11XrandrSource>(std::move(toolkitDisplay));
}

}  // namespace zelvo::platform
