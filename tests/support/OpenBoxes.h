#pragma once
// The program's modal boxes left open on screen, and closing them all before a loop ends: a box
// may still be on its way from a tick already queued, so the loop ends only once none is open.

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <vector>

namespace zelvo::test {

inline std::vector<QMessageBox*> openMessageBoxes() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

// Closes every open box each time `closer` fires, and ends `loop` once none is left.
inline void closeBoxesThenQuit(QTimer& closer, QEventLoop& loop) {
    QObject::connect(&closer, &QTimer::timeout, &loop, [&loop] {
        const auto boxes = openMessageBoxes();
        for (QMessageBox* box : boxes)
            box->done(QMessageBox::Ok);
        if (boxes.empty())
            loop.quit();
    });
}

}  // namespace zelvo::test
