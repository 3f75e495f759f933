#pragma once
// TMemo: a multi-line text box, borderless, wrapping at word boundaries, without scroll bars.
//
// The text is a list of lines; as text it is those lines joined by "\r\n", the way the system's
// multi-line edit holds it. A box filled line by line ends with a line break after its last line,
// which therefore is not followed by another line.

#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

#include "ui/TControl.h"

namespace zelvo {

class TMemo : public TTextBox<QPlainTextEdit> {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    // The whole text, line breaks as "\r\n".
    QString text() const;
    // Replaces the whole text; "\r\n" (and a lone "\r" or "\n") breaks a line. Writing the text
    // the box already holds does nothing.
    void setText(const QString& text);

    // The lines; a line break at the very end does not start another line.
    QStringList lines() const;
    // Replaces the text with these lines, each followed by a line break.
    void setLines(const QStringList& lines);
    // Adds a line at the end: the text and a line break. A line break inside the text starts a new
    // line; one at its end leaves an empty line before whatever is added next. When the text does
    // not yet end with a line break, one is put before the new line, so it always starts a line.
    void addLine(const QString& line);
    // Adds each line in turn, as one change.
    void addLines(const QStringList& lines);

    // Qt::AlignLeft or Qt::AlignRight.
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment value);

    // A read-only box still takes the focus, shows its caret and lets the keyboard move it.
    // Hides QPlainTextEdit::setReadOnly so the caret and mouse cursor stay as set here.
    void setReadOnly(bool value);

    // The mouse cursor over the text: the arrow, or the text cursor.
    void setArrowCursor(bool value);
    bool arrowCursor() const { return arrowCursor_; }

protected:
    void applyCaret(bool hidden) override;
    void repaintNow() override;
    // A box that has never been shown keeps its text aside and applies its font only now.
    void realiseNow() override;

private:
    void applyCursor();
    void applyTextOption();
    void appendRaw(const QString& addition);

    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool arrowCursor_ = false;
    int caretWidth_ = 1;
    QString pending_;  // the text in the document's form, until the box is realised
};

}  // namespace zelvo
