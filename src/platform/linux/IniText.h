#pragma once
// Text of an ini file in the form Qt's QSettings (IniFormat) reads back exactly: the program
// writes its registration file itself, in one piece, and reads it with QSettings.

#include <QByteArray>
#include <QString>

namespace zelvo::platform {

class IniText {
public:
    // Starts the group `name`; the entries after it belong to it.
    void beginGroup(const QString& name);
    // An entry QSettings reads as the string `text`.
    void setText(const QString& key, const QString& text);
    // An entry QSettings reads as the byte array `bytes`.
    void setBytes(const QString& key, const QByteArray& bytes);

    const QByteArray& text() const { return text_; }

private:
    QByteArray text_;
};

}  // namespace zelvo::platform
