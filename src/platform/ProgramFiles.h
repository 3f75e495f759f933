#pragma once
// Where the program lives and the folders it makes.

#include <optional>
#include <string>

#include "platform/CodePageText.h"

namespace zelvo::platform {

class ProgramFiles {
public:
    virtual ~ProgramFiles() = default;

    // Full path of the program file; nullopt when it cannot be read.
    virtual std::optional<CodePageText> programPath() const = 0;
    // The system's path separator ("\" on Windows and the simulated machine, "/" on Linux).
    virtual char pathSeparator() const = 0;
    // Creates a directory; false when it fails (it exists already, for example).
    virtual bool createDirectory(const CodePageText& path) = 0;
    // Makes the program's TempData folder where this system keeps it; false when it is not made
    // (it exists already, or there is no place for it). Beside the program file, the Windows habit,
    // unless the backend keeps it elsewhere.
    virtual bool createTempData();
};

}  // namespace zelvo::platform
