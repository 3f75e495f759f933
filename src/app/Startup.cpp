#include "app/Startup.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include <cstdio>
#include <memory>

#include "app/CommandLine.h"
#include "app/FontconfigWarmUp.h"
#include "app/StandardOutput.h"
#include "zelvo/Version.h"

#include "format/NumberSeparators.h"
#include "platform/Platform.h"
#include "report/JsonReport.h"
#include "report/MachineFacts.h"
#include "report/TextReport.h"
#include "ui/StartupSteps.h"
#include "ui/TDriveComboBox.h"
#include "ui/TForm1.h"

#if defined(__linux__)
#include "app/DisplayChoice.h"
#include "platform/linux/DisplayServers.h"
#endif

namespace zelvo {

// What a backend may not do without the toolkit: sound the desktop's beep, know which window system
// the window is on, name the current screen where no display-mode list is to be had, tell the
// windows of a changed regional setting, and lend its X connection.
void ConnectDesktop(platform::Desktop& desktop) {
    platform::DesktopServices services;
    services.beep = [] { QApplication::beep(); };
    services.windowSystem = QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
                                ? platform::WindowSystem::Wayland
                                : platform::WindowSystem::Other;
    services.currentScreen = []() -> std::optional<platform::DisplayMode> {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen || screen->depth() <= 0)
            return std::nullopt;
        const QSize size = screen->size() * screen->devicePixelRatio();
        // A depth of 24 is held in 32 bits per pixel, as the display-mode list reports it.
        const int depth = screen->depth() == 24 ? 32 : screen->depth();
        return platform::DisplayMode{static_cast<std::uint32_t>(size.width()),
                                     static_cast<std::uint32_t>(size.height()), static_cast<std::uint32_t>(depth),
                                     static_cast<std::uint32_t>(screen->refreshRate())};
    };
    // A changed regional setting the backend noticed reaches the windows as the toolkit's own
    // locale change, as on Windows, where the window re-reads the separators.
    services.settingsChanged = [] {
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::LocaleChange));
    };
#if QT_CONFIG(xcb)
    // On X11 the display page asks XRandR on the toolkit's own connection.
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        services.x11Connection = x11->connection();
#endif
    desktop.connectDesktop(std::move(services));
}

QTranslator* InstallToolkitTranslations(QCoreApplication& app) {
    // The window is Japanese whatever the user's locale, and so are the toolkit's texts in it.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

namespace {

class TranslationsOnFirstMenu final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // An application filter sees the event before the widget that opens the menu.
        if (event->type() == QEvent::ContextMenu) {
            QCoreApplication::instance()->removeEventFilter(this);
            InstallToolkitTranslations(*QCoreApplication::instance());
            deleteLater();
        }
        return false;
    }
};

}  // namespace

void InstallToolkitTranslationsOnFirstMenu(QCoreApplication& app) {
    app.installEventFilter(new TranslationsOnFirstMenu(&app));
}

namespace {

// False, after saying so on the terminal, when no display the toolkit would try answers. A
// connection to X made for the question is kept in `heldX11`, to be let go once the toolkit has
// its own.
bool DisplayReachable([[maybe_unused]] int argc, [[maybe_unused]] char** argv,
                      [[maybe_unused]] std::shared_ptr<void>& heldX11) {
#if defined(__linux__)
    DisplayEnvironment environment{qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"),
                                   platform::waylandDisplayReachable, [&heldX11] {
                                       heldX11 = platform::openX11Display();
                                       return heldX11 != nullptr;
                                   }};
    // The toolkit's "-platform NAME" option outranks the variable.
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            environment.platform = argv[i + 1];
    switch (chooseDisplay(environment)) {
        case DisplayChoice::AsConfigured:
            return true;
        case DisplayChoice::Wayland:
            qputenv("QT_QPA_PLATFORM", "wayland");
            return true;
        case DisplayChoice::None:
            if (environment.platform.isEmpty())
                std::fprintf(stderr, "zelvo: cannot open a display (neither Wayland nor X11 is reachable)\n");
            else
                std::fprintf(stderr, "zelvo: cannot open a display (QT_QPA_PLATFORM=%s is not reachable)\n",
                             environment.platform.constData());
            return false;
    }
#endif
    return true;
}

}  // namespace

namespace {

// "2026-12-09T18:40:11Z"
std::string TakenNow() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

// Writes `text` to standard output; returns the exit status: 1, after saying why, when it could
// not be written; 0 also when the reader went away early (`| head -n 1`).
int Answer(const std::string& text) {
    std::string error;
    if (WriteStandardOutput(text, error) == WriteResult::Failed) {
        WriteStandardError("zelvo: cannot write to standard output: " + error + "\n");
        return 1;
    }
    return 0;
}

// The facts of this machine, asked without a window-system connection: display modes come from
// what the system tells without one.
std::string FactsReport(const CommandLine& line) {
    auto platform = platform::createSystemPlatform();
    LoadNumberSeparators(platform->text());
    platform::DesktopServices services;
    services.windowSystem = platform::WindowSystem::Unconnected;
    platform->desktop().connectDesktop(std::move(services));
    const MachineFacts facts = GatherFacts(*platform, {line.measureClock, line.redact, ToolkitLocaleCase()});
    const ReportStamp stamp{ZELVO_VERSION, TakenNow()};
    return line.action == CommandLine::Action::Json ? JsonReport(facts, stamp) : TextReport(facts, stamp);
}

// Answers a command line that asks for something other than the window, with no window-system
// connection; returns the exit status.
int RunCommandLine(int argc, char** argv) {
    IgnoreBrokenPipeSignal();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELVO_VERSION));
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    switch (line.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            return Answer(line.text.toStdString());
        case CommandLine::Action::Report:
        case CommandLine::Action::Json:
            return Answer(FactsReport(line));
        case CommandLine::Action::Error:
            WriteStandardError("zelvo: " + line.text.toStdString() + "\n");
            return 2;
        case CommandLine::Action::Window:
            break;
    }
    return 0;
}

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

}  // namespace

int RunApplication(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow) {
    if (HasOwnArguments(ArgumentList(argc, argv)))
        return RunCommandLine(argc, argv);
    std::shared_ptr<void> heldX11;
    if (!DisplayReachable(argc, argv, heldX11))
        return 1;
    const std::jthread fontconfig = LoadFontconfigInBackground();
    markStartupStep("display-checked");
    auto platform = platform::createSystemPlatform();
    markStartupStep("platform");
    // The separators are read before the application object exists, as every text depends on them.
    LoadNumberSeparators(platform->text());
    markStartupStep("separators");
    QApplication app(argc, argv);
    heldX11.reset();
    markStartupStep("application");
    QApplication::setApplicationName(QStringLiteral("Zelvo"));
    InstallToolkitTranslationsOnFirstMenu(app);
    ConnectDesktop(platform->desktop());
    markStartupStep("desktop-connected");
    TForm1 form(*platform, nullptr, TForm1::PageBuild::ShownPageFirst);
    markStartupStep("form-created");
    form.FormCreate();
    if (beforeShow)
        beforeShow(form);
    form.show();
    markStartupStep("window-shown");
    return QApplication::exec();
}

}  // namespace zelvo
