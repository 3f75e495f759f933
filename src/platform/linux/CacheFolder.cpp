#include "platform/linux/CacheFolder.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdlib>

namespace zelvo::platform {

namespace {

bool isAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

bool makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0)
        return true;
    struct stat status {};
    return errno == EEXIST && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::optional<std::string> userCacheHome(const char* xdgCacheHome, const char* home) {
    if (isAbsolute(xdgCacheHome))
        return std::string(xdgCacheHome);
    if (isAbsolute(home))
        return std::string(home) + "/.cache";
    return std::nullopt;
}

std::optional<std::string> userCacheHome() {
    return userCacheHome(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

bool makePrivateFolders(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return false;
    for (std::string::size_type end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1))
        if (end > 0 && path[end - 1] != '/' && !makeFolder(path.substr(0, end)))
            return false;
    return path.back() == '/' || makeFolder(path);
}

}  // namespace zelvo::platform
