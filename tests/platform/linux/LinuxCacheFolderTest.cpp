// Where the Linux program keeps TempData: the user's cache folder, made private, or nowhere.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/CacheFolder.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/CodePageTextTesting.h"
#include "support/LinuxFixtureMachine.h"

namespace zelvo::platform {
namespace {

TEST(UserCacheHome, TheVariableWhenAbsoluteElseHomesCacheElseNone) {
    const struct {
        const char* xdgCacheHome;
        const char* home;
        std::optional<std::string> expected;
    } rows[] = {
        {"/var/cache/u", "/home/u", "/var/cache/u"},
        {nullptr, "/home/u", "/home/u/.cache"},
        {"", "/home/u", "/home/u/.cache"},
        {"cache", "/home/u", "/home/u/.cache"},  // relative: ignored
        {nullptr, nullptr, std::nullopt},
        {"", "", std::nullopt},
        {nullptr, "home/u", std::nullopt},  // a relative home would land in the current directory
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.xdgCacheHome ? row.xdgCacheHome : "(unset)") + " " +
                     (row.home ? row.home : "(unset)"));
        EXPECT_EQ(userCacheHome(row.xdgCacheHome, row.home), row.expected);
    }
}

class LinuxTempData : public ::testing::Test {
protected:
    // The platform of a recorded machine, run from a program file in the temporary tree.
    std::unique_ptr<LinuxPlatform> platformWithCache(std::optional<std::string> cacheHome) {
        QDir().mkpath(root.filePath(QStringLiteral("proc/self")));
        QDir().mkpath(root.filePath(QStringLiteral("bin")));
        QFile::link(root.filePath(QStringLiteral("bin/zelvo")), root.filePath(QStringLiteral("proc/self/exe")));
        LinuxPlatformOptions options = test::optionsFor("qemu-vm", config);
        options.roots.proc = root.filePath(QStringLiteral("proc")).toStdString();
        options.cacheHome = std::move(cacheHome);
        return std::make_unique<LinuxPlatform>(options);
    }
    bool isDir(const char* path) const { return QFileInfo(root.filePath(QString::fromUtf8(path))).isDir(); }

    QTemporaryDir root;
    QTemporaryDir config;
};

TEST_F(LinuxTempData, IsMadeInTheUsersCacheFolderNeverBesideTheProgram) {
    const std::string cache = root.filePath(QStringLiteral("home/.cache")).toStdString();
    auto platform = platformWithCache(cache);
    EXPECT_TRUE(platform->files().createTempData());
    EXPECT_TRUE(isDir("home/.cache/zelvo/TempData"));
    EXPECT_FALSE(isDir("bin/TempData"));
    // The folders it had to make are the user's alone.
    for (const char* folder : {"home/.cache", "home/.cache/zelvo"}) {
        struct stat status {};
        ASSERT_EQ(::stat(root.filePath(QString::fromUtf8(folder)).toLocal8Bit().constData(), &status), 0) << folder;
        EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
    }
    EXPECT_FALSE(platform->files().createTempData());  // exists already
    EXPECT_TRUE(isDir("home/.cache/zelvo/TempData"));
}

TEST_F(LinuxTempData, WithoutACacheFolderNothingIsMade) {
    QFile file(root.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const std::string underAFile = root.filePath(QStringLiteral("file/cache")).toStdString();
    for (const std::optional<std::string>& cacheHome : {std::optional<std::string>(""), std::optional(underAFile)}) {
        SCOPED_TRACE(*cacheHome);
        EXPECT_FALSE(platformWithCache(cacheHome)->files().createTempData());
        EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"bin", "file", "proc"}));
    }
}

}  // namespace
}  // namespace zelvo::platform
