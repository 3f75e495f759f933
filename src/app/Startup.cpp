#include "app/Startup.h"

#include <QApplication>

#include "format/NumberSeparators.h"
#include "platform/Platform.h"
#include "ui/TForm1.h"

namespace zelvo {

int RunApplication(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow) {
    auto platform = platform::createSystemPlatform();
    // The separators are read before the application object exists, as every text depends on them.
    LoadNumberSeparators(*platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvo"));
    TForm1 form(*platform);
    form.FormCreate();
    if (beforeShow)
        beforeShow(form);
    form.show();
    return QApplication::exec();
}

}  // namespace zelvo
