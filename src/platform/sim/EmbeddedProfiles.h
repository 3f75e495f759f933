#pragma once
// The simulated machines' profiles (resources/sim/*.json), compiled into the program by
// cmake/EmbedFiles.cmake so the machine factories read no files at run time.

#include <optional>
#include <string_view>

namespace zelvo::platform {

// The text of an embedded profile by its file name ("win98.json"); nullopt for any other name.
std::optional<std::string_view> embeddedSimProfile(std::string_view fileName);

}  // namespace zelvo::platform
