#pragma once
// The recorded machines' files under tests/fixtures/linux, read as the tests need them.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "TestConfig.h"

namespace zelvo::test {

// A recorded machine's folder, or a file in it: "amd-laptop" or "amd-laptop/proc/cpuinfo".
inline std::string linuxFixturePath(const std::string& relative) {
    return std::string(ZELVO_FIXTURE_DIR) + "/linux/" + relative;
}

// The whole file, its bytes as recorded (NULs included); empty when it cannot be read, as for a
// file some recorded machines do not have.
inline std::string readRecordedFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file the test expects the recorded machine to have: a missing one fails the test, so a
// mistyped name cannot pass as an empty file.
inline std::string linuxFixture(const std::string& relative) {
    const std::string path = linuxFixturePath(relative);
    if (!std::ifstream(path, std::ios::binary))
        ADD_FAILURE() << "no recorded file " << path;
    return readRecordedFile(path);
}

}  // namespace zelvo::test
