#include "ui/MessageBoxes.h"

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

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

void ShowRefusalBox(QWidget* owner, const QString& message, QSize screen) {
    QDialog dialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromUtf8(kApplicationTitle));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(message, &dialog);
    label->setWordWrap(true);
    label->setMaximumWidth(screen.width() / 2);
    layout->addWidget(label);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    // Enter presses the default button; Esc rejects the dialog, which closes it the same way.
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog.adjustSize();
    dialog.move((screen.width() - dialog.width()) / 2, (screen.height() - dialog.height()) / 2);
    dialog.exec();
}

}  // namespace zelvo
