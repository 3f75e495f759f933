#pragma once
// The user's cache folder, where the Linux program keeps what Windows keeps beside the program file.

#include <optional>
#include <string>

namespace zelvo::platform {

// $XDG_CACHE_HOME when it is an absolute path, else $HOME/.cache when HOME is one (the XDG base
// directory rules ignore relative paths); nullopt when neither is. Null pointers are unset variables.
std::optional<std::string> userCacheHome(const char* xdgCacheHome, const char* home);

// The same from this process's environment.
std::optional<std::string> userCacheHome();

// Makes the absolute `path` and every missing folder above it, each new one private to the user
// (0700), as the XDG rules ask; false when one cannot be made or is not a folder.
bool makePrivateFolders(const std::string& path);

}  // namespace zelvo::platform
