#pragma once
// Tells when the user changes the regional settings. Nothing on a Linux desktop tells a running
// program so; the files the settings are kept in (see UserLocale.h) are watched instead.

#include <QFileSystemWatcher>
#include <QPointer>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/UserLocale.h"

namespace zelvo::platform {

class LocaleSettingsWatch {
public:
    // Calls `changed` from the event loop of the creating thread each time the numeric locale the
    // first of `files` to name one names changes. Each file's folder is watched too: a file may not
    // exist yet, and settings are often saved by writing a new file in the old one's place. The
    // watch itself starts `startDelay` later (the system's watch costs memory the window's first
    // paint does not need); a change made meanwhile is told when it starts.
    LocaleSettingsWatch(std::vector<LocaleSettingsFile> files, std::function<void()> changed,
                        std::chrono::milliseconds startDelay);
    ~LocaleSettingsWatch();
    LocaleSettingsWatch(const LocaleSettingsWatch&) = delete;
    LocaleSettingsWatch& operator=(const LocaleSettingsWatch&) = delete;

private:
    void watchExisting();
    void check();

    std::vector<LocaleSettingsFile> files_;
    std::function<void()> changed_;
    std::optional<std::string> named_;
    // Owned by the application object too: the program's backend outlives it, and the watch must
    // end while the event loop's machinery is still there.
    QPointer<QFileSystemWatcher> watcher_;
};

}  // namespace zelvo::platform
