#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

using Action = CommandLine::Action;

struct LineCase {
    QStringList arguments;
    Action action;
};

TEST(CommandLine, ToolkitOptionsOpenTheWindowAndTheRestIsOurs) {
    const LineCase cases[] = {
        {{"zelvo"}, Action::Window},
        {{"zelvo", "-platform", "offscreen"}, Action::Window},
        {{"zelvo", "--platform", "xcb", "-style=fusion", "-reverse"}, Action::Window},
        {{"zelvo", "--version"}, Action::Version},
        {{"zelvo", "-platform", "offscreen", "--help"}, Action::Help},
        {{"zelvo", "--bogus"}, Action::Error},
        {{"zelvo", "stray"}, Action::Error},
        // A value-taking toolkit option swallows its value, not the next option.
        {{"zelvo", "-style", "--version"}, Action::Window},
        {{"zelvo", "-reverse=1"}, Action::Error},
        {{"zelvo", "--report"}, Action::Report},
        {{"zelvo", "-style", "fusion", "--json", "--redact"}, Action::Json},
        {{"zelvo", "--report", "--json"}, Action::Error},
        {{"zelvo", "--measure-clock"}, Action::Error},
        {{"zelvo", "--redact"}, Action::Error},
        {{"zelvo", "--json", "stray"}, Action::Error},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(HasOwnArguments(c.arguments), c.action != Action::Window);
        EXPECT_EQ(ParseCommandLine(c.arguments).action, c.action);
    }
    EXPECT_TRUE(ParseCommandLine({"zelvo", "--version"}).text.startsWith("zelvo 1."));
    const CommandLine report = ParseCommandLine({"zelvo", "--report", "--measure-clock"});
    EXPECT_TRUE(report.measureClock);
    EXPECT_FALSE(report.redact);
    EXPECT_TRUE(ParseCommandLine({"zelvo", "--json", "--redact"}).redact);
}

}  // namespace
}  // namespace zelvo
