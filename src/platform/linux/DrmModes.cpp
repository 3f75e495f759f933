#include "platform/linux/DrmModes.h"

#include "platform/linux/DisplayModes.h"
#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

std::vector<std::pair<std::uint32_t, std::uint32_t>> parseDrmModes(std::string_view text) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes;
    for (std::string_view line : linuxfs::splitLines(text)) {
        line = linuxfs::trim(line);
        const auto x = line.find('x');
        if (x == std::string_view::npos)
            continue;
        // Interlaced modes carry an "i" after the height.
        std::string_view height = line.substr(x + 1);
        if (!height.empty() && height.back() == 'i')
            height.remove_suffix(1);
        const auto w = linuxfs::parseUnsigned(line.substr(0, x));
        const auto h = linuxfs::parseUnsigned(height);
        if (!w || !h || *w == 0 || *h == 0 || *w > 65535 || *h > 65535)
            continue;
        sizes.emplace_back(static_cast<std::uint32_t>(*w), static_cast<std::uint32_t>(*h));
    }
    return sizes;
}

std::vector<DisplayMode> modesFromDrm(const std::vector<DrmConnector>& connectors, std::uint32_t bitsPerPixel) {
    const DrmConnector* chosen = nullptr;
    auto connected = [](const DrmConnector& c) {
        return linuxfs::trim(c.status) == "connected" && !parseDrmModes(c.modes).empty();
    };
    for (const auto& connector : connectors)
        if (!chosen && connected(connector) && linuxfs::trim(connector.enabled) == "enabled")
            chosen = &connector;
    for (const auto& connector : connectors)
        if (!chosen && connected(connector))
            chosen = &connector;
    if (!chosen)
        return {};
    std::vector<DisplayMode> modes;
    for (const auto& [width, height] : parseDrmModes(chosen->modes))
        modes.push_back(DisplayMode{width, height, bitsPerPixel, 0});
    return withoutRepeatedSizes(modes);
}

std::vector<DrmConnector> readDrmConnectors(const std::string& sysRoot) {
    std::vector<DrmConnector> connectors;
    const std::string drm = linuxfs::joinPath(sysRoot, "/class/drm");
    for (const std::string& name : linuxfs::listDirectory(drm)) {
        // Connectors are "cardN-NAME"; "cardN" and "renderDN" are the devices themselves.
        if (name.rfind("card", 0) != 0 || name.find('-') == std::string::npos)
            continue;
        const std::string dir = drm + "/" + name;
        connectors.push_back(DrmConnector{name, linuxfs::readFile(dir + "/status", 64).value_or(""),
                                          linuxfs::readFile(dir + "/enabled", 64).value_or(""),
                                          linuxfs::readFile(dir + "/modes", linuxfs::kKernelTextLimit).value_or("")});
    }
    return connectors;
}

std::vector<DisplayMode> readDrmModes(const std::string& sysRoot) {
    const auto bppText = linuxfs::readTrimmed(linuxfs::joinPath(sysRoot, "/class/graphics/fb0/bits_per_pixel"));
    const auto bpp = bppText ? linuxfs::parseUnsigned(*bppText) : std::nullopt;
    return modesFromDrm(readDrmConnectors(sysRoot),
                        bpp && *bpp > 0 && *bpp <= 64 ? static_cast<std::uint32_t>(*bpp) : 32);
}

}  // namespace zelvo::platform
