#include "platform/linux/ProcessLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace zelvo::platform {

namespace {

// The descriptor still names the file at `path`: a holder that let go meanwhile removed the file
// it locked, and whoever opened that file before then holds a lock nobody else sees.
bool namesFileAt(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace

ProcessLock::ProcessLock(std::string path, std::chrono::milliseconds patience) : path_(std::move(path)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (namesFileAt(fd, path_)) {
                fd_ = fd;
                return;
            }
            ::close(fd);  // taken from a holder that has just removed it: open the new one
            continue;
        }
        const int error = errno;
        ::close(fd);
        if ((error != EWOULDBLOCK && error != EINTR) || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

ProcessLock::~ProcessLock() {
    if (fd_ < 0)
        return;
    // Removed while still held, so nobody can take it between the removal and the release.
    ::unlink(path_.c_str());
    ::close(fd_);
}

}  // namespace zelvo::platform
