#include "app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include <cstdio>

#include "format/NumberSeparators.h"
#include "platform/Platform.h"
#include "ui/TForm1.h"

#if defined(__linux__)
#include "app/DisplayChoice.h"
#include "platform/linux/DisplayServers.h"
#include "platform/linux/LinuxPlatform.h"
#endif

namespace zelvo {

// What the Linux backend cannot do without the toolkit: sound the desktop's beep, know which window
// system the window is on, and name the current screen where no display-mode list is to be had.
void ConnectDesktop([[maybe_unused]] platform::Platform& platform) {
#if defined(__linux__)
    auto* linuxPlatform = dynamic_cast<platform::LinuxPlatform*>(&platform);
    if (!linuxPlatform)
        return;
    linuxPlatform->setBeep([] { QApplication::beep(); });
    const QString windowSystem = QGuiApplication::platformName();
    if (windowSystem.startsWith(QLatin1String("wayland")))
        linuxPlatform->setWindowSystem(platform::WindowSystem::Wayland);
    else if (windowSystem == QLatin1String("xcb"))
        linuxPlatform->setWindowSystem(platform::WindowSystem::X11);
    linuxPlatform->setCurrentScreen([]() -> std::optional<platform::DisplayMode> {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen || screen->depth() <= 0)
            return std::nullopt;
        const QSize size = screen->size() * screen->devicePixelRatio();
        // A depth of 24 is held in 32 bits per pixel, as the display-mode list reports it.
        const int depth = screen->depth() == 24 ? 32 : screen->depth();
        return platform::DisplayMode{static_cast<std::uint32_t>(size.width()),
                                     static_cast<std::uint32_t>(size.height()), static_cast<std::uint32_t>(depth),
                                     static_cast<std::uint32_t>(screen->refreshRate())};
    });
#endif
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

// False, after saying so on the terminal, when no display the toolkit would try answers.
bool DisplayReachable([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#if defined(__linux__)
    DisplayEnvironment environment{qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"),
                                   platform::waylandDisplayReachable, platform::x11DisplayReachable};
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

int RunApplication(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow) {
    if (!DisplayReachable(argc, argv))
        return 1;
    auto platform = platform::createSystemPlatform();
    // The separators are read before the application object exists, as every text depends on them.
    LoadNumberSeparators(*platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvo"));
    InstallToolkitTranslations(app);
    ConnectDesktop(*platform);
    TForm1 form(*platform);
    form.FormCreate();
    if (beforeShow)
        beforeShow(form);
    form.show();
    return QApplication::exec();
}

}  // namespace zelvo
