// Host-name validation and the hand-over to the host-name service (a fake: tests never rename
// the machine).

#include <gtest/gtest.h>

#include "platform/linux/HostnameService.h"

namespace zelvo::platform {
namespace {

TEST(LinuxHostname, ValidatesHostNames) {
    const std::string label63(63, 'a');
    const struct {
        std::string name;
        bool valid;
    } cases[] = {
        {"workstation", true},
        {"PC-01", true},
        {"a", true},
        {"9", true},
        {"host.example.org", true},
        {label63, true},
        {label63 + ".a", false},                                    // 65 characters
        {std::string(32, 'a') + "." + std::string(31, 'b'), true},  // 64 characters
        {label63 + "a", false},
        {"", false},
        {"-leading", false},
        {"trailing-", false},
        {"a.-b", false},
        {"a-.b", false},
        {".leading-dot", false},
        {"trailing-dot.", false},
        {"double..dot", false},
        {"under_score", false},
        {"space name", false},
        {"semi;colon", false},
        {"new\nline", false},
        {std::string("nul\0byte", 8), false},
        {"山田のPC", false},
        {"caf\xc3\xa9", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isValidHostName(c.name), c.valid);
    }
}

}  // namespace
}  // namespace zelvo::platform
