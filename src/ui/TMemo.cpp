#include "ui/TMemo.h"

#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace zelvo {

namespace {

const QString kBreak = QStringLiteral("\r\n");

// The document's own line breaks are "\n"; a lone "\r" would otherwise make a paragraph of its own
// next to the "\n" of a "\r\n".
QString toDocumentText(QString text) {
    text.replace(kBreak, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

TMemo::TMemo(QWidget* parent) : TTextBox(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves to the next control, as in the system's multi-line edit without tab stops.
    setTabChangesFocus(true);
    // A pixel of margin on each side keeps the caret at the end of a right-aligned line inside the
    // box; the text itself starts at the top edge, as in the system's borderless edit, so the view
    // begins one pixel above the box and the top margin falls outside it.
    document()->setDocumentMargin(1);
    setViewportMargins(0, -1, 0, 0);
    applyTextOption();
    caretWidth_ = cursorWidth();
    applyColours();
    applyCursor();
}

QString TMemo::text() const {
    QString raw = realised() ? document()->toRawText() : pending_;
    raw.replace(QLatin1Char('\n'), kBreak);
    raw.replace(QChar::ParagraphSeparator, kBreak);
    raw.replace(QChar::LineSeparator, kBreak);
    return raw;
}

void TMemo::setText(const QString& value) {
    if (value == text())
        return;
    if (!realised()) {
        pending_ = toDocumentText(value);
        Q_EMIT textChanged();
        return;
    }
    setPlainText(toDocumentText(value));
    repaintNow();
}

QStringList TMemo::lines() const {
    const QString whole = text();
    if (whole.isEmpty())
        return {};
    QStringList result = whole.split(kBreak);
    if (result.last().isEmpty())
        result.removeLast();
    return result;
}

void TMemo::setLines(const QStringList& values) {
    QString whole;
    for (const QString& line : values)
        whole += line + kBreak;
    setText(whole);
}

void TMemo::addLine(const QString& line) {
    addLines({line});
}

void TMemo::addLines(const QStringList& values) {
    if (values.isEmpty())
        return;
    const QString current = text();
    QString addition;
    if (!current.isEmpty() && !current.endsWith(kBreak))
        addition += QLatin1Char('\n');
    for (const QString& line : values)
        addition += toDocumentText(line) + QLatin1Char('\n');
    appendRaw(addition);
}

void TMemo::appendRaw(const QString& addition) {
    // The view stays where it is: a box filled line by line shows its first lines. (The system's
    // edit scrolls to the caret after each addition; with the stand-in fonts' taller lines that
    // would push the BIOS page's first line under its heading box.)
    if (!realised()) {
        pending_ += addition;
        Q_EMIT textChanged();
        return;
    }
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(addition);
    repaintNow();
}

void TMemo::setAlignment(Qt::Alignment value) {
    value &= Qt::AlignHorizontal_Mask;
    if (value == alignment_)
        return;
    alignment_ = value;
    // A box not yet realised takes its alignment up then, with its font and text.
    if (!realised())
        return;
    applyTextOption();
    // Lines already laid out keep their place until the document is laid out again.
    document()->markContentsDirty(0, document()->characterCount());
    repaintNow();
}

void TMemo::applyTextOption() {
    QTextOption option = document()->defaultTextOption();
    // Trailing spaces count in a right-aligned line: they push the text away from the edge.
    option.setFlags(option.flags() | QTextOption::IncludeTrailingSpaces);
    option.setAlignment(alignment_);
    document()->setDefaultTextOption(option);
}

void TMemo::setReadOnly(bool value) {
    QPlainTextEdit::setReadOnly(value);
    if (value)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    applyCursor();
}

void TMemo::setArrowCursor(bool value) {
    arrowCursor_ = value;
    applyCursor();
}

void TMemo::applyCursor() {
    viewport()->setCursor(arrowCursor_ ? Qt::ArrowCursor : Qt::IBeamCursor);
}

void TMemo::applyCaret(bool hidden) {
    if (hidden)
        caretWidth_ = cursorWidth();
    setCursorWidth(hidden ? 0 : caretWidth_);
}

void TMemo::repaintNow() {
    if (isVisible())
        viewport()->repaint();
}

void TMemo::realiseNow() {
    // Not a change of the text: the box only takes up what it was given while hidden.
    const QSignalBlocker quiet(this);
    applyTextOption();
    document()->setDefaultFont(font());
    if (!pending_.isEmpty())
        setPlainText(pending_);
    pending_.clear();
}

}  // namespace zelvo
