#pragma once
// What the drive queries cannot read from a file: the figures of a mounted file system and the
// process's current directory. Tests replace them with recorded figures.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zelvo::platform {

// statvfs figures of a mounted file system.
struct FsFigures {
    std::uint64_t fragmentSize = 0;     // f_frsize: the unit of the block counts, bytes
    std::uint64_t blocks = 0;           // f_blocks
    std::uint64_t freeBlocks = 0;       // f_bfree
    std::uint64_t availableBlocks = 0;  // f_bavail: free to unprivileged users
};

// Where a query that may hang runs. A thread stuck in the kernel on a user-space driver that took
// the request and never answers cannot be killed, and keeps the whole process alive after its
// end; a child process the program does not wait for is left behind instead.
enum class HangingQueryPlace {
    Thread,        // for stand-ins that live in this process
    ChildProcess,  // for the kernel's statvfs
};

struct DriveSeams {
    // statvfs of a directory; nullopt when it fails. May block for as long as the file system
    // does (a network server that is gone, a user-space driver that hangs).
    std::function<std::optional<FsFigures>(const std::string& path)> fileSystemFigures;
    // The process's current directory; nullopt when it has none (deleted, unreachable).
    std::function<std::optional<std::string>()> currentDirectory;
    // How long a query of a network or user-space file system may take before it is given up.
    std::chrono::milliseconds queryTimeout{1500};
    HangingQueryPlace hangingQueries = HangingQueryPlace::Thread;
};

// statvfs and getcwd of this process; queries that may hang run in a child process.
DriveSeams systemDriveSeams();

}  // namespace zelvo::platform
