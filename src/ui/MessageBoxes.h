#pragma once
// The program's two boxes: the error box for errors that escape a handler, and the refusal box of
// the registration page.

#include <QSize>
#include <QString>
#include <memory>

class QDialog;

class QWidget;

namespace zelvo {

// The application title, the caption of both boxes.
inline const char* const kApplicationTitle = "Zelvo";

// The error box's text: the message, with a full stop when its last character sorts after ".".
QString ErrorBoxText(const QString& message);

// Stop icon, the application title as caption, `text` (see ErrorBoxText), one OK button;
// returns when it is closed.
void ShowErrorBox(QWidget* owner, const QString& text);

// A dialog with the application title, no icon, the text word-wrapped at half the screen width
// and one OK button that is both the default and the cancel button, centred on the screen.
void ShowRefusalBox(QWidget* owner, const QString& message, QSize screen);
// The refusal box as ShowRefusalBox shows it, not yet opened.
std::unique_ptr<QDialog> MakeRefusalBox(QWidget* owner, const QString& message, QSize screen);
// The narrowest box whose title bar shows its whole caption.
int RefusalBoxCaptionWidth(const QWidget& box);

}  // namespace zelvo
