// The XRandR query against the real X server, through XCB: the toolkit's own connection is XCB, so
// no Xlib and none of Xlib's extension libraries are loaded for it, and the requests of each stage
// go out together instead of one round trip each.

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/linux/DisplayModes.h"

namespace zelvo::platform {

namespace {

// A reply XCB allocated, freed with free(); an error reply or a lost connection leaves it null.
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

class X11XrandrSource final : public XrandrSource {
public:
    explicit X11XrandrSource(std::function<void*()> toolkitConnection)
        : toolkitConnection_(std::move(toolkitConnection)) {}

    std::optional<XrandrScreen> query() override {
        // A connection of its own costs the window a few milliseconds at start-up; xcb_connect
        // reads $DISPLAY, and on Wayland without Xwayland or headless there is none.
        auto* shared = static_cast<xcb_connection_t*>(toolkitConnection_ ? toolkitConnection_() : nullptr);
        int screenNumber = 0;
        xcb_connection_t* own = shared ? nullptr : xcb_connect(nullptr, &screenNumber);
        // A connection the query opened is closed again; the toolkit's stays open.
        const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> ownConnection(own, &xcb_disconnect);
        xcb_connection_t* connection = shared ? shared : own;
        if (!connection || xcb_connection_has_error(connection))
            return std::nullopt;
        const xcb_setup_t* setup = xcb_get_setup(connection);
        const xcb_screen_t* screen = screenOf(setup, shared ? defaultScreenOf(connection) : screenNumber);
        if (!screen)
            return std::nullopt;

        const auto version = owned(xcb_randr_query_version_reply(
            connection, xcb_randr_query_version(connection, XCB_RANDR_MAJOR_VERSION, XCB_RANDR_MINOR_VERSION),
            nullptr));
        if (!version || version->major_version < 1 || (version->major_version == 1 && version->minor_version < 2))
            return std::nullopt;

        XrandrScreen result;
        result.rootDepth = screen->root_depth;
        for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
            result.pixmapFormats.emplace_back(formats.data->depth, formats.data->bits_per_pixel);

        // RandR 1.3's "current" variant answers from the server's cache instead of probing every
        // output, which can take a noticeable time on some drivers.
        const bool randr13 = version->major_version > 1 || version->minor_version >= 3;
        const auto primaryCookie =
            randr13 ? xcb_randr_get_output_primary(connection, screen->root) : xcb_randr_get_output_primary_cookie_t{0};
        const auto resources =
            randr13 ? currentResources(connection, screen->root) : probedResources(connection, screen->root);
        const auto primary = randr13 ? owned(xcb_randr_get_output_primary_reply(connection, primaryCookie, nullptr))
                                     : owned<xcb_randr_get_output_primary_reply_t>(nullptr);
        if (!resources)
            return std::nullopt;

        for (const xcb_randr_mode_info_t& info : resources->modes) {
            result.modes.push_back(XrandrMode{info.id, info.width, info.height, info.dot_clock, info.htotal,
                                              info.vtotal, (info.mode_flags & XCB_RANDR_MODE_FLAG_INTERLACE) != 0,
                                              (info.mode_flags & XCB_RANDR_MODE_FLAG_DOUBLE_SCAN) != 0});
        }
        std::vector<xcb_randr_get_output_info_cookie_t> cookies;
        for (const xcb_randr_output_t output : resources->outputs)
            cookies.push_back(xcb_randr_get_output_info(connection, output, resources->timestamp));
        for (std::size_t i = 0; i < cookies.size(); ++i) {
            const auto info = owned(xcb_randr_get_output_info_reply(connection, cookies[i], nullptr));
            if (!info)
                continue;
            XrandrOutput output;
            output.name.assign(reinterpret_cast<const char*>(xcb_randr_get_output_info_name(info.get())),
                               static_cast<std::size_t>(xcb_randr_get_output_info_name_length(info.get())));
            output.connected = info->connection == XCB_RANDR_CONNECTION_CONNECTED;
            output.hasCrtc = info->crtc != XCB_NONE;
            output.primary = primary && resources->outputs[i] == primary->output;
            const xcb_randr_mode_t* modes = xcb_randr_get_output_info_modes(info.get());
            output.modeIds.assign(modes, modes + xcb_randr_get_output_info_modes_length(info.get()));
            result.outputs.push_back(std::move(output));
        }
        return result;
    }

private:
    // The screen resources, copied out of whichever reply was asked for.
    struct Resources {
        xcb_timestamp_t timestamp = XCB_CURRENT_TIME;
        std::vector<xcb_randr_mode_info_t> modes;
        std::vector<xcb_randr_output_t> outputs;
    };

    template <typename Reply>
    static std::optional<Resources> copied(Reply* raw, xcb_randr_mode_info_t* (*modes)(const Reply*),
                                           int (*modeCount)(const Reply*), xcb_randr_output_t* (*outputs)(const Reply*),
                                           int (*outputCount)(const Reply*)) {
        const auto reply = owned(raw);
        if (!reply)
            return std::nullopt;
        Resources resources;
        resources.timestamp = reply->config_timestamp;
        resources.modes.assign(modes(raw), modes(raw) + modeCount(raw));
        resources.outputs.assign(outputs(raw), outputs(raw) + outputCount(raw));
        return resources;
    }

    static std::optional<Resources> currentResources(xcb_connection_t* connection, xcb_window_t root) {
        return copied(xcb_randr_get_screen_resources_current_reply(
                          connection, xcb_randr_get_screen_resources_current(connection, root), nullptr),
                      xcb_randr_get_screen_resources_current_modes, xcb_randr_get_screen_resources_current_modes_length,
                      xcb_randr_get_screen_resources_current_outputs,
                      xcb_randr_get_screen_resources_current_outputs_length);
    }

    static std::optional<Resources> probedResources(xcb_connection_t* connection, xcb_window_t root) {
        return copied(
            xcb_randr_get_screen_resources_reply(connection, xcb_randr_get_screen_resources(connection, root), nullptr),
            xcb_randr_get_screen_resources_modes, xcb_randr_get_screen_resources_modes_length,
            xcb_randr_get_screen_resources_outputs, xcb_randr_get_screen_resources_outputs_length);
    }

    // The screen $DISPLAY names for the toolkit's connection, which does not keep the number.
    static int defaultScreenOf(xcb_connection_t*) {
        int screen = 0;
        char* host = nullptr;
        int display = 0;
        if (const char* name = std::getenv("DISPLAY"); name && xcb_parse_display(name, &host, &display, &screen))
            std::free(host);
        return screen;
    }

    static const xcb_screen_t* screenOf(const xcb_setup_t* setup, int number) {
        for (auto screens = xcb_setup_roots_iterator(setup); screens.rem; xcb_screen_next(&screens), --number)
            if (number == 0)
                return screens.data;
        return nullptr;
    }

    std::function<void*()> toolkitConnection_;
};

}  // namespace

std::unique_ptr<XrandrSource> makeX11XrandrSource(std::function<void*()> toolkitConnection) {
    return std::make_unique<X11XrandrSource>(std::move(toolkitConnection));
}

}  // namespace zelvo::platform
