// The baseline: a bare Qt window of the same size showing one line of Japanese text in the same
// fonts, ended at its first paint.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "FirstPaint.h"
#include "StepTrace.h"
#include "ui/Fonts.h"
#include "ui/StartupSteps.h"

int main(int argc, char** argv) {
    zelvo::bench::TraceStartupStepsIfAsked();
    QApplication app(argc, argv);
    zelvo::markStartupStep("application");
    QWidget window;
    window.setFixedSize(472, 242);
    window.setWindowTitle(QStringLiteral("Zelvo"));
    auto* label = new QLabel(QStringLiteral("メインボード　バイオス情報"), &window);
    label->setFont(zelvo::makeFont(zelvo::FontFace::G, -15));
    label->move(20, 20);
    zelvo::markStartupStep("form-created");
    zelvo::bench::QuitAfterFirstPaint(window);
    window.show();
    zelvo::markStartupStep("window-shown");
    return QApplication::exec();
}
