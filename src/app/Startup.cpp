#include "app/Startup.h"

#include <QApplication>
#include <QScreen>

#include "format/NumberSeparators.h"
#include "platform/Platform.h"
#include "ui/TForm1.h"

#if defined(__linux__)
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

int RunApplication(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow) {
    auto platform = platform::createSystemPlatform();
    // The separators are read before the application object exists, as every text depends on them.
    LoadNumberSeparators(*platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvo"));
    ConnectDesktop(*platform);
    TForm1 form(*platform);
    form.FormCreate();
    if (beforeShow)
        beforeShow(form);
    form.show();
    return QApplication::exec();
}

}  // namespace zelvo
