#pragma once
// A file-system query that may hang, run where a hang cannot hold the caller: on a detached
// thread, or in a child process the program never waits for. The caller waits as long as it
// likes, then may go and ask later whether the answer came in.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/DriveSeams.h"

namespace zelvo::platform {

class DetachedQuery {
public:
    using Query = std::function<std::optional<FsFigures>(const std::string& path)>;

    // Starts `query(path)` at `place`; null when no thread or process can be had. In a child
    // process the query runs in a copy of this process of which only the calling thread goes on,
    // so it must do no more than a system call (statvfs) does.
    static std::shared_ptr<DetachedQuery> start(HangingQueryPlace place, Query query, std::string path);

    virtual ~DetachedQuery() = default;
    // Waits at most `timeout`; true once the query has answered.
    virtual bool wait(std::chrono::milliseconds timeout) = 0;
    // The answer, once wait() said it came in; nullopt when the query failed.
    virtual std::optional<FsFigures> answer() const = 0;
};

}  // namespace zelvo::platform
