#include "platform/linux/IniText.h"

namespace zelvo::platform {

namespace {

bool isAsciiAlphanumeric(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A key or group name: letters and digits as they are, every other character %XX or %UXXXX.
QByteArray escapedKey(const QString& key) {
    QByteArray escaped;
    for (const QChar c : key) {
        const char16_t code = c.unicode();
        if (isAsciiAlphanumeric(code))
            escaped += static_cast<char>(code);
        else if (code < 0x100)
            escaped += '%' + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
        else
            escaped += "%U" + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
    }
    return escaped;
}

// A value in double quotes, so white space at its ends, commas and semicolons stay as they are.
// `raw` bytes go into the file unchanged (UTF-8 text); every other byte is written as a \x escape,
// whose hexadecimal digits run on as far as they go: a hex digit right after one is escaped too.
QByteArray quoted(const QByteArray& value, bool keepNonAscii) {
    QByteArray text = "\"";
    bool afterHexEscape = false;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        const bool escapeAsHex =
            byte < 0x20 || byte == 0x7f || (byte >= 0x80 && !keepNonAscii) || (afterHexEscape && isHexDigit(c));
        afterHexEscape = false;
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\r') {
            text += "\\r";
        } else if (c == '\t') {
            text += "\\t";
        } else if (escapeAsHex) {
            text += "\\x" + QByteArray::number(byte, 16);
            afterHexEscape = true;
        } else {
            text += c;
        }
    }
    return text + '"';
}

}  // namespace

void IniText::beginGroup(const QString& name) {
    QByteArray section = escapedKey(name);
    // QSettings keeps the keys of a group called "General" at the top level unless it is marked.
    if (section.compare("general", Qt::CaseInsensitive) == 0)
        section.prepend('%');
    if (!text_.isEmpty())
        text_ += '\n';
    text_ += '[' + section + "]\n";
}

void IniText::setText(const QString& key, const QString& text) {
    QByteArray utf8 = text.toUtf8();
    // A leading @ marks a typed value ("@ByteArray(…)"); a text that begins with one doubles it.
    if (utf8.startsWith('@'))
        utf8.prepend('@');
    text_ += escapedKey(key) + '=' + quoted(utf8, true) + '\n';
}

void IniText::setBytes(const QString& key, const QByteArray& bytes) {
    text_ += escapedKey(key) + '=' + quoted("@ByteArray(" + bytes + ')', false) + '\n';
}

}  // namespace zelvo::platform
