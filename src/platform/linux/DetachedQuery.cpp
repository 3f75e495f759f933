#include "platform/linux/DetachedQuery.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace zelvo::platform {

namespace {

// The worker owns its share of the state and a copy of the query, so a query that hangs past the
// caller's life touches nothing that has been freed.
class ThreadQuery final : public DetachedQuery {
public:
    static std::shared_ptr<DetachedQuery> start(Query query, std::string path) {
        auto state = std::make_shared<State>();
        try {
            std::thread([state, query = std::move(query), path = std::move(path)] {
                auto figures = query(path);
                std::lock_guard lock(state->mutex);
                state->figures = figures;
                state->finished = true;
                state->finishedSignal.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            return nullptr;
        }
        return std::make_shared<ThreadQuery>(std::move(state));
    }

    bool wait(std::chrono::milliseconds timeout) override {
        std::unique_lock lock(state_->mutex);
        return state_->finishedSignal.wait_for(lock, timeout, [this] { return state_->finished; });
    }
    std::optional<FsFigures> answer() const override {
        std::lock_guard lock(state_->mutex);
        return state_->figures;
    }

    struct State {
        std::mutex mutex;
        std::condition_variable finishedSignal;
        bool finished = false;
        std::optional<FsFigures> figures;
    };
    explicit ThreadQuery(std::shared_ptr<State> state) : state_(std::move(state)) {}

private:
    std::shared_ptr<State> state_;
};

// What the child writes into the pipe.
struct ChildAnswer {
    bool read = false;
    FsFigures figures;
};

// The query runs in a grandchild: the child that forks it ends at once and is reaped here, so the
// grandchild belongs to the system's init from then on, and neither a zombie nor a process stuck
// in the kernel is left to this process. The answer comes through a pipe; a pipe closed without
// one (the query's process died) is a failed query.
class ProcessQuery final : public DetachedQuery {
public:
    static std::shared_ptr<DetachedQuery> start(const Query& query, const std::string& path) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return nullptr;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            if (::fork() == 0) {
                ChildAnswer message;
                if (const auto figures = query(path)) {
                    message.read = true;
                    message.figures = *figures;
                }
                // The caller may have given up and closed its end: then the write fails, quietly.
                [[maybe_unused]] const auto written = ::write(fds[1], &message, sizeof message);
                ::_exit(0);
            }
            ::_exit(0);
        }
        ::close(fds[1]);
        if (child < 0) {
            ::close(fds[0]);
            return nullptr;
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return std::make_shared<ProcessQuery>(fds[0]);
    }

    explicit ProcessQuery(int fd) : fd_(fd) {}
    ~ProcessQuery() override { ::close(fd_); }
    ProcessQuery(const ProcessQuery&) = delete;
    ProcessQuery& operator=(const ProcessQuery&) = delete;

    bool wait(std::chrono::milliseconds timeout) override {
        if (finished_)
            return true;
        pollfd ready{fd_, POLLIN, 0};
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            const int rc = ::poll(&ready, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
            if (rc > 0)
                break;
            if (rc == 0 || errno != EINTR)
                return false;
        }
        ChildAnswer message;
        ssize_t n = 0;
        do {
            n = ::read(fd_, &message, sizeof message);
        } while (n < 0 && errno == EINTR);
        if (n == static_cast<ssize_t>(sizeof message) && message.read)
            figures_ = message.figures;
        finished_ = true;
        return true;
    }
    std::optional<FsFigures> answer() const override { return figures_; }

private:
    int fd_;
    bool finished_ = false;
    std::optional<FsFigures> figures_;
};

}  // namespace

std::shared_ptr<DetachedQuery> DetachedQuery::start(HangingQueryPlace place, Query query, std::string path) {
    if (place == HangingQueryPlace::ChildProcess)
        return ProcessQuery::start(query, path);
    return ThreadQuery::start(std::move(query), std::move(path));
}

}  // namespace zelvo::platform
