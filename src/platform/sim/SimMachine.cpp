#include "platform/sim/SimMachine.h"

#include "platform/CodePage.h"
#include "platform/sim/SimProfile.h"

namespace zelvo::platform {

double SimClock::rateMeasuredAs(double measuredHz, std::uint32_t stepMs) {
    return measuredHz * 4000.0 / (4000.0 - static_cast<double>(stepMs));
}

bool defaultComputerNameRule(const std::string& utf8) {
    const std::size_t bytes = cp932::byteCount(utf8);
    if (bytes == 0 || bytes > 15)
        return false;
    for (unsigned char c : utf8) {
        if (c <= 0x20 || c == 0x7F)
            return false;
        if (std::string_view("\\/:*?\"<>|,;=+[]").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    // A character CP932 cannot hold arrives as '?', which is no valid name either.
    return cp932::toUtf8(cp932::fromUtf8(utf8)) == utf8;
}

SimMachine::SimMachine() {
    registry.setLeadByteTest(cp932::isLeadByte);
}

SimDrive* SimMachine::drive(char letter) {
    return const_cast<SimDrive*>(static_cast<const SimMachine*>(this)->drive(letter));
}

const SimDrive* SimMachine::drive(char letter) const {
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 32);
    if (letter < 'A' || letter > 'Z')
        return nullptr;
    const auto& slot = drives[static_cast<std::size_t>(letter - 'A')];
    return slot ? &*slot : nullptr;
}

void SimMachine::setDrive(char letter, SimDrive drive) {
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 32);
    if (letter >= 'A' && letter <= 'Z')
        drives[static_cast<std::size_t>(letter - 'A')] = std::move(drive);
}

namespace {
RegValue text(std::string_view utf8, std::uint32_t type) {
    std::string bytes = cp932::fromUtf8(utf8);
    bytes += '\0';
    return RegValue{type, std::move(bytes)};
}
}  // namespace

RegValue regSz(std::string_view utf8) {
    return text(utf8, kRegSz);
}
RegValue regExpandSz(std::string_view utf8) {
    return text(utf8, kRegExpandSz);
}

RegValue regMultiSz(const std::vector<std::string>& utf8Pieces) {
    RegValue value{kRegMultiSz, {}};
    for (const auto& piece : utf8Pieces) {
        value.data += cp932::fromUtf8(piece);
        value.data += '\0';
    }
    value.data += '\0';
    return value;
}

RegValue regDword(std::uint32_t v) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return RegValue{kRegDword, std::move(bytes)};
}

RegValue regBinary(std::string_view bytes, std::uint32_t type) {
    return RegValue{type, std::string(bytes)};
}

SimMachine makeWin9xMachine() {
    return loadSimProfileResource("win98.json");
}
SimMachine makeNtMachine() {
    return loadSimProfileResource("winnt.json");
}

}  // namespace zelvo::platform
