// The registration file when the program is killed while it registers: 200 registrations, each
// in a process killed with SIGKILL at a random moment (tests/helpers/RegistrationKillCheck.cpp).

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <string>

#include "support/HelperProcess.h"

namespace zelvo::platform {
namespace {

TEST(LinuxRegistrationKill, AKilledRegistrationLeavesTheOldPairOrTheNewAndHoldsNothing) {
    // Each registration flushes the file to the disk: some 10 ms on a disk, nothing on a RAM disk,
    // which keeps the 400 registrations at a few seconds. What a kill leaves is the same on both.
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir config(QDir(shm).exists() ? QDir(shm).filePath(QStringLiteral("zelvo-test-XXXXXX"))
                                            : QDir::tempPath() + QStringLiteral("/zelvo-test-XXXXXX"));
    ASSERT_TRUE(config.isValid());
    test::HelperProcess helper({ZELVO_REGISTRATION_KILL_CHECK, config.path().toStdString(), "200"});
    ASSERT_TRUE(helper.started());
    // A few seconds on a busy machine under the sanitizers; a registration held by a stale lock
    // would take 30 s for each such kill.
    const auto slowest = helper.waitFor("slowest_next_ms", std::chrono::seconds(60));
    ASSERT_TRUE(slowest) << helper.output();
    const auto value = [&helper](const std::string& key) {
        return helper.waitFor(key, std::chrono::seconds(5)).value_or("missing");
    };
    EXPECT_EQ(value("kills"), "200");
    EXPECT_EQ(value("mixed"), "0") << helper.output();
    // Kills landed on both sides of the file's replacement, so the check above had both to tell apart.
    EXPECT_GT(std::stoi(value("unchanged")), 0) << helper.output();
    EXPECT_GT(std::stoi(value("changed")), 0) << helper.output();
    // The next registration is never held by what a killed one left (generous: one takes a
    // millisecond or two).
    EXPECT_LT(std::stod(*slowest), 100.0) << helper.output();
    EXPECT_EQ(helper.waitForExit(std::chrono::seconds(10)), 0);
}

}  // namespace
}  // namespace zelvo::platform
