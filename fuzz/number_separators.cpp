// The number separators as the locale query answers them: what is taken as a separator is one
// whole UTF-8 character, the same one Qt's decoder reads, and nothing else is.

#include <QList>
#include <QString>

#include "FuzzInput.h"
#include "format/NumberSeparators.h"

using namespace zelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const auto separator = Separator::fromUtf8(answer);
    const QByteArrayView bytes(answer.data(), static_cast<qsizetype>(answer.size()));
    // NUL is a character, but none a text may hold.
    const bool oneCharacter =
        bytes.isValidUtf8() && QString::fromUtf8(bytes).toUcs4().size() == 1 && answer != std::string_view("\0", 1);
    if (answer.empty()) {
        fuzz::require(separator && separator->isNone(), "an empty setting is no separator");
    } else if (separator) {
        fuzz::require(separator->bytes() == answer && separator->isWhole(), "a separator is the answer's bytes");
        fuzz::require(oneCharacter, "a separator is one character");
    } else {
        fuzz::require(!oneCharacter, "one whole character is a separator");
    }
    const Separator byte(answer.empty() ? '\0' : answer[0]);
    fuzz::require(byte.isWhole() == (byte.isNone() || static_cast<unsigned char>(answer[0]) < 0x80),
                  "a single byte is whole only in ASCII");
    setNumberSeparators({byte, separator.value_or(Separator())});
    fuzz::require(numberSeparators().thousands.isWhole() && numberSeparators().decimal.isWhole(),
                  "the separators in force are whole characters");
    return 0;
}
