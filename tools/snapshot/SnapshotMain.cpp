// Writes each page of the main window as a PNG, built on the simulated 9x or NT machine, a
// profile file, or this machine. Run on the offscreen platform to need no display:
//   QT_QPA_PLATFORM=offscreen zelvo_snapshot --machine nt --out /tmp/pages
// --area page writes the page area alone, without the tab strip that each platform's style draws;
// --no-text leaves out every text, so that two platforms' pages can be compared in everything else.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTabWidget>
#include <cstdio>
#include <memory>

#include "app/Startup.h"
#include "format/NumberSeparators.h"
#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimProfile.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TForm1.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TPanel.h"

namespace {

std::unique_ptr<zelvo::platform::Platform> makePlatform(const QString& machine) {
    using namespace zelvo::platform;
    if (machine == QLatin1String("system"))
        return createSystemPlatform();
    if (machine == QLatin1String("9x"))
        return std::make_unique<SimPlatform>(makeWin9xMachine());
    if (machine == QLatin1String("nt"))
        return std::make_unique<SimPlatform>(makeNtMachine());
    return std::make_unique<SimPlatform>(loadSimProfile(machine.toStdString()));
}

// Empties every text of the window; the drive selector's text is drawn in its own background
// colour, as its glyph stays.
void leaveOutTexts(QWidget& window) {
    using namespace zelvo;
    for (auto* label : window.findChildren<TLabel*>())
        label->setText({});
    for (auto* memo : window.findChildren<TMemo*>())
        memo->setLines({});
    for (auto* edit : window.findChildren<TEdit*>())
        edit->setText({});
    for (auto* panel : window.findChildren<TPanel*>())
        panel->setCaption({});
    for (auto* combo : window.findChildren<TDriveComboBox*>())
        combo->setFontColor(combo->color());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the pages of the Zelvo window as PNG files."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("machine"), QStringLiteral("9x, nt, a profile file, or system."),
                      QStringLiteral("machine"), QStringLiteral("nt")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder for the PNG files."), QStringLiteral("folder"),
                      QStringLiteral(".")});
    parser.addOption({QStringLiteral("ticks"), QStringLiteral("Load-monitor ticks to run before the pictures."),
                      QStringLiteral("count"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("area"), QStringLiteral("window, or page (the page area alone)."),
                      QStringLiteral("area"), QStringLiteral("window")});
    parser.addOption({QStringLiteral("no-text"), QStringLiteral("Leave out every text.")});
    parser.process(app);
    const bool pageArea = parser.value(QStringLiteral("area")) == QLatin1String("page");

    std::unique_ptr<zelvo::platform::Platform> platform;
    try {
        platform = makePlatform(parser.value(QStringLiteral("machine")));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelvo_snapshot: %s\n", error.what());
        return 2;
    }
    zelvo::ConnectDesktop(platform->desktop());
    zelvo::LoadNumberSeparators(platform->text());
    zelvo::TForm1 form(*platform);
    // Boxes would wait for a click that never comes; their texts go to the terminal instead.
    form.showErrorBox = [](const QString& message) { std::fprintf(stderr, "error box: %s\n", qPrintable(message)); };
    form.FormCreate();
    form.show();
    for (int tick = parser.value(QStringLiteral("ticks")).toInt(); tick > 0; --tick)
        form.fire(&zelvo::TForm1::Timer2Timer);

    const QDir out(parser.value(QStringLiteral("out")));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "zelvo_snapshot: cannot create %s\n", qPrintable(out.path()));
        return 2;
    }
    const char* const names[] = {"disk", "memory", "cpu", "bios", "display", "user"};
    for (int page = 0; page < form.PageControl1->count(); ++page) {
        form.PageControl1->setCurrentIndex(page);
        QApplication::processEvents();
        // After the page change, whose handlers write texts of their own.
        if (parser.isSet(QStringLiteral("no-text")))
            leaveOutTexts(form);
        const QString file = out.filePath(QStringLiteral("%1-%2.png").arg(page + 1).arg(QLatin1String(names[page])));
        QWidget& shown = pageArea ? *form.PageControl1->currentWidget() : static_cast<QWidget&>(form);
        if (!shown.grab().save(file)) {
            std::fprintf(stderr, "zelvo_snapshot: cannot write %s\n", qPrintable(file));
            return 2;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
