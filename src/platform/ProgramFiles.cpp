#include "platform/ProgramFiles.h"

namespace zelvo::platform {

bool ProgramFiles::createTempData() {
    // Without the program's path there is no "beside": nothing is made in whatever the current
    // directory is.
    const auto path = programPath();
    if (!path)
        return false;
    const std::string& bytes = path->bytes();
    const auto separator = bytes.rfind(pathSeparator());
    const std::string directory = separator == std::string::npos ? std::string() : bytes.substr(0, separator + 1);
    return createDirectory(CodePageText(directory + "TempData"));
}

}  // namespace zelvo::platform
