#include "ui/UsageView.h"

#include <QString>

#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"

namespace zelvo {

void UsageView::ShowCaptions() const {
    for (TLabel* caption : captions)
        caption->setVisible(true);
    boxes[0]->setFontColor(colour::Yellow);
    boxes[1]->setFontColor(colour::Red);
    boxes[2]->setFontColor(colour::Lime);
}

void UsageView::ShowSizes(const UsageFigures& figures) const {
    boxes[0]->setText(QString::fromStdString(figures.totalText));
    boxes[1]->setText(QString::fromStdString(figures.usedText));
    boxes[2]->setText(QString::fromStdString(figures.freeText));
}

void UsageView::ShowPercentage(const UsageFigures& figures) const {
    percentageLabel->setFontColor(figures.percentageColour);
    gauge->setForeColor(colour::Red);
    gauge->setBackColor(colour::Lime);
    gauge->setProgress(figures.percentage);
    percentageLabel->setText(QString::fromStdString(figures.percentageText));
}

}  // namespace zelvo
