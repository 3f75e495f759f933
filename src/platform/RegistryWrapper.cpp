#include "platform/RegistryWrapper.h"

#include <cstdint>
#include <utility>

#include "platform/Errors.h"
#include "platform/MessageFormat.h"

namespace zelvo::platform {

namespace {
constexpr const char* kBadType = "'%s' のデータ型が不正です";
constexpr const char* kReadFailed = "'%s' の取得に失敗しました";

bool isTextOrNumber(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegDword;
}
}  // namespace

RegistryWrapper::RegistryWrapper(Registry& registry, const TextLocale& text, HKey root, RegAccess access)
    : registry_(registry), text_(text), root_(root), access_(access) {}

RegistryWrapper::~RegistryWrapper() {
    CloseKey();
}

bool RegistryWrapper::OpenKey(const std::string& path, bool canCreate) {
    const bool fromRoot = !path.empty() && path.front() == '\\';
    const HKey parent = fromRoot || current_ == 0 ? root_ : current_;
    const std::string relative = fromRoot ? path.substr(1) : path;
    HKey opened = 0;
    const long status = canCreate ? registry_.regCreateKey(parent, relative, &opened)
                                  : registry_.regOpenKey(parent, relative, access_, &opened);
    if (status != kRegSuccess)
        return false;
    CloseKey();
    current_ = opened;
    return true;
}

void RegistryWrapper::CloseKey() {
    if (current_ == 0)
        return;
    registry_.regCloseKey(current_);
    current_ = 0;
}

std::vector<std::string> RegistryWrapper::GetValueNames() {
    std::vector<std::string> names;
    if (current_ == 0)
        return names;
    std::string name;
    for (std::uint32_t index = 0; registry_.regEnumValue(current_, index, &name) == kRegSuccess; ++index)
        names.push_back(name);
    return names;
}

int RegistryWrapper::ReadBinaryData(const std::string& name, void* buffer, int bufferSize) {
    if (current_ == 0)
        return 0;
    std::uint32_t type = kRegNone;
    std::uint32_t size = 0;
    if (registry_.regQueryValue(current_, name, &type, nullptr, &size) != kRegSuccess)
        return 0;
    // A null buffer holds nothing.
    const std::uint32_t capacity = buffer && bufferSize > 0 ? static_cast<std::uint32_t>(bufferSize) : 0;
    if (isTextOrNumber(type) || size > capacity)
        raise(kBadType, name);
    if (size == 0)
        return 0;
    std::uint32_t read = capacity;
    if (registry_.regQueryValue(current_, name, &type, static_cast<std::uint8_t*>(buffer), &read) != kRegSuccess)
        raise(kReadFailed, name);
    return static_cast<int>(read);
}

CodePageText RegistryWrapper::ReadString(const std::string& name) {
    if (current_ == 0)
        return {};
    std::uint32_t type = kRegNone;
    std::uint32_t size = 0;
    if (registry_.regQueryValue(current_, name, &type, nullptr, &size) != kRegSuccess || size == 0)
        return {};
    if (type != kRegSz && type != kRegExpandSz)
        raise(kBadType, name);
    std::string data(size, '\0');
    std::uint32_t read = size;
    if (registry_.regQueryValue(current_, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &read) !=
        kRegSuccess)
        raise(kReadFailed, name);
    data.resize(read);
    if (const auto zero = data.find('\0'); zero != std::string::npos)
        data.resize(zero);
    return CodePageText(std::move(data));
}

void RegistryWrapper::raise(const char* pattern, const std::string& name) {
    throw ERegistryException(formatMessage(pattern, text_.toUtf8(CodePageText(name))));
}

}  // namespace zelvo::platform
