#pragma once
// The program's registry wrapper: a root key and at most one open current key. Pages create one
// inside a handler and release it before the handler returns; releasing closes the current key.

#include <string>
#include <vector>

#include "platform/CodePageText.h"
#include "platform/Registry.h"
#include "platform/TextLocale.h"

namespace zelvo::platform {

class RegistryWrapper {
public:
    // `access` is the right every OpenKey asks for; keys that are only read are opened with Read
    // so that an ordinary user, who may not write to the machine's keys, can still read them.
    RegistryWrapper(Registry& registry, const TextLocale& text, HKey root, RegAccess access = RegAccess::AllAccess);
    ~RegistryWrapper();
    RegistryWrapper(const RegistryWrapper&) = delete;
    RegistryWrapper& operator=(const RegistryWrapper&) = delete;

    // Opens `path` as the new current key: from the root when it begins with a backslash,
    // otherwise below the current key (below the root when none is open). With `canCreate`
    // missing keys are made. On failure the current key stays and the result is false.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    bool hasCurrentKey() const { return current_ != 0; }

    // Names of the current key's values in enumeration order (code-page bytes); empty when no
    // key is open.
    std::vector<std::string> GetValueNames();

    // Reads a value's raw bytes into `buffer` and returns how many were read. A missing value
    // (or no current key) reads nothing and returns 0. A string, expandable string or 32-bit
    // number, or a value longer than `bufferSize`, raises ERegistryException
    // "'%s' のデータ型が不正です"; a read that fails after the value was found raises
    // "'%s' の取得に失敗しました".
    int ReadBinaryData(const std::string& name, void* buffer, int bufferSize);

    // A string or expandable string value up to its terminating zero, as code-page bytes. A
    // missing or empty value (or no current key) gives empty text; other types raise the type
    // error above, a failed read the read error.
    CodePageText ReadString(const std::string& name);

private:
    [[noreturn]] void raise(const char* pattern, const std::string& name);

    Registry& registry_;
    const TextLocale& text_;
    HKey root_;
    RegAccess access_;
    HKey current_ = 0;
};

}  // namespace zelvo::platform
