#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "ui/WindowCentring.h"

namespace zelvo {

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

void ShowErrorBox(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok, owner);
    box.exec();
}

std::unique_ptr<QDialog> MakeRefusalBox(QWidget* owner, const QString& message, QSize screen) {
    auto dialog = std::make_unique<QDialog>(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setWindowTitle(QString::fromUtf8(kApplicationTitle));
    auto* layout = new QVBoxLayout(dialog.get());
    auto* label = new QLabel(message, dialog.get());
    label->setWordWrap(true);
    // The text is laid out at half the screen's width and the label takes the size it then needs:
    // a word-wrapped label left to itself picks a narrow width and breaks a short text in two.
    const int wrapWidth = std::max(screen.width() / 2, 1);
    const QRect textRect =
        label->fontMetrics().boundingRect(QRect(0, 0, wrapWidth, QWIDGETSIZE_MAX), Qt::TextWordWrap, message);
    label->setFixedSize(textRect.size().grownBy(label->contentsMargins()));
    layout->addWidget(label);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog.get());
    // Enter presses the default button; Esc rejects the dialog, which closes it the same way.
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    // Fixed at the layout's size, but wide enough for the title bar to show the whole caption
    // beside its buttons.
    const QSize hint = dialog->sizeHint();
    dialog->setFixedSize(std::max(hint.width(), RefusalBoxCaptionWidth(*dialog)), hint.height());
    CentreOnScreen(*dialog, screen);
    return dialog;
}

int RefusalBoxCaptionWidth(const QWidget& box) {
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int button = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    // The caption's text, with room for the window menu's icon and the close button either side.
    return metrics.horizontalAdvance(box.windowTitle()) + 3 * button;
}

void ShowRefusalBox(QWidget* owner, const QString& message, QSize screen) {
    MakeRefusalBox(owner, message, screen)->exec();
}

}  // namespace zelvo
