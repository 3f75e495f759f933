// The lock between running copies of the program that guards the registration file.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <string>

#include "platform/linux/ProcessLock.h"

namespace zelvo::platform {
namespace {

using std::chrono::milliseconds;

TEST(LinuxProcessLock, HeldOnceLeavesNoFileAndTakesOverWhatAKilledHolderLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("registration.ini.lock")).toStdString();
    {
        const ProcessLock first(path, milliseconds(0));
        ASSERT_TRUE(first.held());
        // A second holder (another open of the file, as another process has) waits, then gives up.
        const auto start = std::chrono::steady_clock::now();
        const ProcessLock second(path, milliseconds(50));
        EXPECT_FALSE(second.held());
        EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(50));
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    // A killed holder leaves its file, empty, and no lock on it: it is taken at once.
    QFile left(QString::fromStdString(path));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    {
        const ProcessLock next(path, milliseconds(0));
        EXPECT_TRUE(next.held());
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    // No place for the file: no lock.
    EXPECT_FALSE(ProcessLock(dir.filePath(QStringLiteral("missing/x.lock")).toStdString(), milliseconds(0)).held());
}

}  // namespace
}  // namespace zelvo::platform
