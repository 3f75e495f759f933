#include "app/CommandLine.h"

#include <QCommandLineParser>

#include <array>

#include "zelvo/Version.h"

namespace zelvo {

namespace {

struct ToolkitOption {
    const char* name;
    bool takesValue;
};

// QGuiApplication's and QApplication's own options, and those of the X11 platform plugin.
constexpr std::array kToolkitOptions{
    ToolkitOption{"platform", true},        ToolkitOption{"platformpluginpath", true},
    ToolkitOption{"platformtheme", true},   ToolkitOption{"plugin", true},
    ToolkitOption{"qwindowgeometry", true}, ToolkitOption{"qwindowicon", true},
    ToolkitOption{"qwindowtitle", true},    ToolkitOption{"style", true},
    ToolkitOption{"stylesheet", true},      ToolkitOption{"session", true},
    ToolkitOption{"display", true},         ToolkitOption{"geometry", true},
    ToolkitOption{"title", true},           ToolkitOption{"name", true},
    ToolkitOption{"reverse", false},        ToolkitOption{"widgetcount", false},
    ToolkitOption{"nograb", false},         ToolkitOption{"dograb", false},
    ToolkitOption{"sync", false},
};

}  // namespace

bool IsToolkitWindowOption(const QString& argument, bool& takesValue) {
    QString name = argument;
    if (name.startsWith(QLatin1String("--")))
        name.remove(0, 2);
    else if (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    else
        return false;
    // "-style=fusion" carries its value.
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    const bool valueAttached = equals >= 0;
    if (valueAttached)
        name.truncate(equals);
    for (const ToolkitOption& option : kToolkitOptions) {
        if (name == QLatin1String(option.name)) {
            takesValue = option.takesValue && !valueAttached;
            return option.takesValue || !valueAttached;
        }
    }
    return false;
}

namespace {

// `arguments` without the toolkit's window options and their values.
QStringList WithoutToolkitOptions(const QStringList& arguments) {
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (i > 0 && IsToolkitWindowOption(arguments[i], takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        ours.append(arguments[i]);
    }
    return ours;
}

}  // namespace

bool HasOwnArguments(const QStringList& arguments) {
    return WithoutToolkitOptions(arguments).size() > 1;
}

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the computer's disks, memory, processor, BIOS and display."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Writes every page's facts as text to standard output."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("Writes every page's facts as one JSON document (format zelvo-facts) to standard output."));
    const QCommandLineOption measureClock(QStringLiteral("measure-clock"),
                                          QStringLiteral("With --report or --json: measures the clock (4 s)."));
    const QCommandLineOption redact(
        QStringLiteral("redact"),
        QStringLiteral("With --report or --json: leaves out owner, organization, computer name, volume serials "
                       "and network names."));
    parser.addOptions({report, json, measureClock, redact});

    CommandLine result;
    // The toolkit's own options are its business, not the parser's.
    if (!parser.parse(WithoutToolkitOptions(arguments))) {
        result.action = CommandLine::Action::Error;
        result.text = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        result.text = parser.helpText();
    } else if (parser.isSet(version)) {
        result.action = CommandLine::Action::Version;
        result.text = QStringLiteral("zelvo " ZELVO_VERSION "\n");
    } else if (parser.isSet(report) && parser.isSet(json)) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("--report and --json cannot be given together.");
    } else if (parser.isSet(report) || parser.isSet(json)) {
        result.action = parser.isSet(report) ? CommandLine::Action::Report : CommandLine::Action::Json;
        result.measureClock = parser.isSet(measureClock);
        result.redact = parser.isSet(redact);
    } else if (parser.isSet(measureClock) || parser.isSet(redact)) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("--%1 goes with --report or --json.")
                          .arg(parser.isSet(measureClock) ? QStringLiteral("measure-clock") : QStringLiteral("redact"));
    }
    return result;
}

}  // namespace zelvo
