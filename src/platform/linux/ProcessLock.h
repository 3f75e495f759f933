#pragma once
// An exclusive lock between processes that dies with the process holding it: flock on a lock
// file. A lock file that only records who held it is read by age once its holder is killed, and
// holds everyone else meanwhile; a flock is released by the kernel whatever ends the process.

#include <chrono>
#include <string>

namespace zelvo::platform {

class ProcessLock {
public:
    // Takes the lock on `path` (created when missing), waiting at most `patience` for another
    // process to release it. The holder removes the file when it lets go, so a lock leaves no file
    // behind; a file a killed holder left is taken over at once.
    ProcessLock(std::string path, std::chrono::milliseconds patience);
    ~ProcessLock();
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

    // False when the file cannot be made or another process kept the lock past the patience.
    bool held() const { return fd_ >= 0; }

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace zelvo::platform
