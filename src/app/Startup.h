#pragma once
// The program's start: number separators, application object, main window, start-up sequence,
// event loop.

#include <functional>

class QCoreApplication;
class QTranslator;
class QWidget;

namespace zelvo {

namespace platform {
class Desktop;
}

// Gives the system backend what it needs from the toolkit (the beep, the current screen, the way to
// tell the windows of a changed regional setting). Call it once the application object exists.
void ConnectDesktop(platform::Desktop& desktop);

// Installs Qt's own Japanese texts (the standard edit menu) in `app`; returns the translator, owned
// by `app`, or null where Qt's Japanese catalogue is not installed.
QTranslator* InstallToolkitTranslations(QCoreApplication& app);

// Installs them at the first request for a context menu, the one place the window shows the
// toolkit's own words (the boxes' one button reads "OK" in Japanese too): a run that opens no menu
// does not load the catalogue.
void InstallToolkitTranslationsOnFirstMenu(QCoreApplication& app);

// Runs the program. `beforeShow`, when set, sees the main window after its start-up sequence and
// before it is first shown (the start-up benchmark hooks its first paint there).
int RunApplication(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow = {});

}  // namespace zelvo
