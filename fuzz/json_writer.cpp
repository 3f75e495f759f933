// The reports' JSON string writer with any bytes a machine may give (invalid UTF-8, controls, NULs):
// the literal is pure ASCII, parses as JSON, and reads back as the input's characters with U+FFFD
// in place of each byte that is not part of well-formed UTF-8.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QString>

#include <algorithm>
#include <string>

#include "FuzzInput.h"
#include "report/JsonString.h"

using namespace zelvo;

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Whether `text`, read back from the literal, is `bytes` with each bad byte as one U+FFFD.
bool readsBackFaithfully(std::string_view bytes, const QString& text) {
    std::size_t at = 0;
    for (const char32_t c : text.toUcs4()) {
        // Not QString::fromUcs4, which takes a leading U+FEFF for a byte-order mark and drops it.
        const QByteArray encoded = QStringView(QChar::fromUcs4(c)).toUtf8();
        const std::string_view expected(encoded.constData(), static_cast<std::size_t>(encoded.size()));
        if (bytes.substr(at, expected.size()) == expected)
            at += expected.size();
        else if (c == kReplacement && at < bytes.size())
            ++at;  // one byte that is not well-formed UTF-8
        else
            return false;
    }
    return at == bytes.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string literal = JsonString(bytes);
    fuzz::require(std::all_of(literal.begin(), literal.end(), [](char c) { return c >= 0x20 && c < 0x7f; }),
                  "the literal is printable ASCII");

    QJsonParseError error{};
    const QByteArray document = QByteArray("[") + QByteArray::fromStdString(literal) + "]";
    const QJsonDocument parsed = QJsonDocument::fromJson(document, &error);
    fuzz::require(error.error == QJsonParseError::NoError && parsed.isArray() && parsed.array().size() == 1 &&
                      parsed.array().at(0).isString(),
                  "the literal parses as one JSON string");
    fuzz::require(readsBackFaithfully(bytes, parsed.array().at(0).toString()),
                  "read back, it is the input with U+FFFD for each bad byte");
    // Well-formed input comes back whole.
    if (QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8())
        fuzz::require(parsed.array().at(0).toString().toUtf8().toStdString() == bytes,
                      "well-formed UTF-8 reads back unchanged");
    return 0;
}
