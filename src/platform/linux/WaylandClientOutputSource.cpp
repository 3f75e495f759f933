// The wl_output query and the reachability check against the real compositor. Kept in their own
// file so that no other file sees the Wayland client headers.

#include <wayland-client.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <list>
#include <memory>

#include "platform/linux/DisplayServers.h"
#include "platform/linux/WaylandOutputs.h"

namespace zelvo::platform {

namespace {

struct BoundOutput {
    wl_output* proxy = nullptr;
    std::uint32_t version = 0;
    WaylandOutput output;
};

// std::list: the listeners keep pointers to the elements.
using BoundOutputs = std::list<BoundOutput>;

const wl_output_listener kOutputListener = {
    [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, const char*,
       const char*, std::int32_t) {},
    [](void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t refresh) {
        static_cast<BoundOutput*>(data)->output.modes.push_back(WaylandMode{
            width, height, refresh, (flags & WL_OUTPUT_MODE_CURRENT) != 0, (flags & WL_OUTPUT_MODE_PREFERRED) != 0});
    },
    [](void*, wl_output*) {},
    [](void*, wl_output*, std::int32_t) {},
    [](void* data, wl_output*, const char* name) { static_cast<BoundOutput*>(data)->output.name = name ? name : ""; },
    [](void*, wl_output*, const char*) {},
};

// Version 4 adds the connector name; the listener above knows every event up to it.
constexpr std::uint32_t kOutputVersion = 4;

const wl_registry_listener kRegistryListener = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
        if (std::strcmp(interface, wl_output_interface.name) != 0)
            return;
        auto& outputs = *static_cast<BoundOutputs*>(data);
        BoundOutput& bound = outputs.emplace_back();
        bound.version = std::min(version, kOutputVersion);
        bound.proxy = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, bound.version));
        if (bound.proxy)
            wl_output_add_listener(bound.proxy, &kOutputListener, &bound);
    },
    [](void*, wl_registry*, std::uint32_t) {},
};

class WaylandClientOutputSource final : public WaylandOutputSource {
public:
    std::optional<std::vector<WaylandOutput>> query() override {
        // $WAYLAND_DISPLAY, as the toolkit's own connection; fails at once without a compositor.
        std::unique_ptr<wl_display, void (*)(wl_display*)> display(wl_display_connect(nullptr), wl_display_disconnect);
        if (!display)
            return std::nullopt;
        BoundOutputs bound;
        std::unique_ptr<wl_registry, void (*)(wl_registry*)> registry(wl_display_get_registry(display.get()),
                                                                      wl_registry_destroy);
        if (!registry)
            return std::nullopt;
        wl_registry_add_listener(registry.get(), &kRegistryListener, &bound);
        // The first round trip announces the globals, the second brings each output's events.
        const bool answered = wl_display_roundtrip(display.get()) >= 0 && wl_display_roundtrip(display.get()) >= 0;
        std::vector<WaylandOutput> outputs;
        for (BoundOutput& output : bound) {
            if (!output.proxy)
                continue;
            if (output.version >= WL_OUTPUT_RELEASE_SINCE_VERSION)
                wl_output_release(output.proxy);
            else
                wl_output_destroy(output.proxy);
            outputs.push_back(std::move(output.output));
        }
        if (!answered)
            return std::nullopt;
        return outputs;
    }
};

}  // namespace

bool waylandDisplayReachable() {
    if (const char* socket = std::getenv("WAYLAND_SOCKET"); socket && *socket)
        return true;
    // A relative socket name needs the runtime directory; without it libwayland would complain on
    // the terminal before failing.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!(name && name[0] == '/') && !(runtime && *runtime))
        return false;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    wl_display_disconnect(display);
    return true;
}

std::unique_ptr<WaylandOutputSource> makeWaylandOutputSource() {
    return std::make_unique<WaylandClientOutputSource>();
}

}  // namespace zelvo::platform
