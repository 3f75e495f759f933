// Program entry: the number separators are read before anything else, then the window is created,
// its start-up sequence runs, and the event loop runs until the window closes.
#include <QApplication>

#include "format/NumberSeparators.h"
#include "platform/Platform.h"
#include "ui/TForm1.h"

int main(int argc, char** argv) {
    auto platform = zelvo::platform::createSystemPlatform();
    zelvo::LoadNumberSeparators(*platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvo"));
    zelvo::TForm1 form(*platform);
    form.FormCreate();
    form.show();
    return QApplication::exec();
}
