#include "platform/linux/LocaleSettingsWatch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <utility>

namespace zelvo::platform {

LocaleSettingsWatch::LocaleSettingsWatch(std::vector<LocaleSettingsFile> files, std::function<void()> changed,
                                         std::chrono::milliseconds startDelay)
    : files_(std::move(files)),
      changed_(std::move(changed)),
      named_(configuredNumericLocale(files_)),
      watcher_(new QFileSystemWatcher(QCoreApplication::instance())) {
    // The watcher is the timer's context: the start never comes after the watch is gone.
    QTimer::singleShot(startDelay, watcher_, [this] { check(); });
    QObject::connect(watcher_, &QFileSystemWatcher::fileChanged, watcher_, [this] { check(); });
    QObject::connect(watcher_, &QFileSystemWatcher::directoryChanged, watcher_, [this] { check(); });
}

LocaleSettingsWatch::~LocaleSettingsWatch() {
    delete watcher_;  // null when the application object went first
}

void LocaleSettingsWatch::watchExisting() {
    // A file replaced by another drops out of the watch, and a new one is not yet in it.
    QStringList paths;
    for (const LocaleSettingsFile& file : files_) {
        const QFileInfo info(QString::fromStdString(file.path));
        for (const QString& path : {info.absoluteFilePath(), info.absolutePath()})
            if (QFileInfo::exists(path) && !paths.contains(path))
                paths << path;
    }
    const QStringList watched = watcher_->files() + watcher_->directories();
    for (const QString& path : std::as_const(paths))
        if (!watched.contains(path))
            watcher_->addPath(path);
}

void LocaleSettingsWatch::check() {
    watchExisting();
    // A folder such as ~/.config changes for many other reasons: only a change of the locale the
    // files name is told.
    std::optional<std::string> named = configuredNumericLocale(files_);
    if (named == named_)
        return;
    named_ = std::move(named);
    changed_();
}

}  // namespace zelvo::platform
