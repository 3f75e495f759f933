#pragma once
// A helper program (tests/helpers) started by a test: its output lines "key value" read as they
// come, each wait bounded, so a helper that hangs fails the test instead of holding it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace zelvo::test {

class HelperProcess {
public:
    explicit HelperProcess(const std::vector<std::string>& arguments) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        fd_ = fds[0];
    }
    ~HelperProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0)
            ::close(fd_);
    }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool started() const { return pid_ > 0; }

    // Reads lines until one starts with `key` (its value returned) or the output ends; nullopt
    // also when `patience` runs out first. Every line read is kept in values().
    std::optional<std::string> waitFor(const std::string& key, std::chrono::milliseconds patience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            if (const auto it = values_.find(key); it != values_.end())
                return it->second;
            if (fd_ < 0)
                return std::nullopt;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd ready{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
                return std::nullopt;
            char chunk[4096];
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n <= 0) {
                ::close(fd_);
                fd_ = -1;
                continue;
            }
            pending_.append(chunk, static_cast<std::size_t>(n));
            for (std::size_t end; (end = pending_.find('\n')) != std::string::npos; pending_.erase(0, end + 1)) {
                const std::string line = pending_.substr(0, end);
                const auto space = line.find(' ');
                values_[line.substr(0, space)] = space == std::string::npos ? "" : line.substr(space + 1);
                lines_ += line + "\n";
            }
        }
    }

    // Waits at most `patience` for the helper to end; its wait status, nullopt when it still runs.
    std::optional<int> waitForExit(std::chrono::milliseconds patience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            int status = 0;
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                return status;
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            ::usleep(200);
        }
    }

    const std::map<std::string, std::string>& values() const { return values_; }
    // Everything the helper printed, for failure messages.
    const std::string& output() const { return lines_; }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string pending_;
    std::string lines_;
    std::map<std::string, std::string> values_;
};

}  // namespace zelvo::test
