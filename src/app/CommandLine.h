#pragma once
// The program's command line. Started without arguments (or with only the toolkit's own window
// options, such as -platform or -style) it opens the window; the options below do something else
// and open no window.

#include <QString>
#include <QStringList>

namespace zelvo {

struct CommandLine {
    enum class Action {
        Window,   // the six pages
        Help,     // `text` is the help
        Version,  // `text` is the version line
        Report,   // the facts as text
        Json,     // the facts as JSON
        Error,    // `text` is the one-line complaint; exit status 2
    };
    Action action = Action::Window;
    QString text;
    bool measureClock = false;  // with Report or Json: the 4-second clock measurement too
    bool redact = false;        // with Report or Json: leave out what identifies the machine or its people
};

// True for an option the toolkit takes for the window, with `takesValue` set where the next
// argument is its value. Both the one-dash and the two-dash spelling count, as the toolkit takes both.
bool IsToolkitWindowOption(const QString& argument, bool& takesValue);

// True when `arguments` (the program's name first) hold anything besides the toolkit's window options.
bool HasOwnArguments(const QStringList& arguments);

// Reads `arguments` (the program's name first). The toolkit's window options are left to it. The help
// names the program as the application object does, so call it once one exists.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace zelvo
