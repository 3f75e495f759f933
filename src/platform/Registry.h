#pragma once
// The registry, with the Windows calls' meaning: status codes of RegStatus, results in
// out-parameters. Key and value names are code-page bytes.

#include <cstdint>
#include <string>

namespace zelvo::platform {

// Registry status codes: the Windows error numbers, so the win32 backend passes them through.
enum RegStatus : long {
    kRegSuccess = 0,
    kRegFileNotFound = 2,
    kRegAccessDenied = 5,
    kRegInvalidHandle = 6,
    kRegMoreData = 234,
    kRegNoMoreItems = 259,
};

// Registry value types.
enum RegType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
    kRegResourceList = 8,
    kRegQword = 11,
};

using HKey = std::uintptr_t;
inline constexpr HKey kHKeyClassesRoot = 0x80000000u;
inline constexpr HKey kHKeyCurrentUser = 0x80000001u;
inline constexpr HKey kHKeyLocalMachine = 0x80000002u;
inline constexpr HKey kHKeyUsers = 0x80000003u;
inline constexpr HKey kHKeyDynData = 0x80000006u;

enum class RegAccess { Read, AllAccess };

class Registry {
public:
    virtual ~Registry() = default;

    // Opens `subKey` below `parent` into `*result`; `subKey` may be empty (opens `parent` again).
    virtual long regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) = 0;
    // Opens `subKey` into `*result`, creating every missing key on the way, with all access.
    virtual long regCreateKey(HKey parent, const std::string& subKey, HKey* result) = 0;
    // Queries a value (`*size` in bytes). With `data` null only `*type` and `*size` are filled. When
    // the buffer is too small: kRegMoreData with `*size` set to the size needed. `type` may be null;
    // `size` only together with `data`.
    virtual long regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) const = 0;
    // Writes a value of `size` bytes; kRegAccessDenied on a key opened for reading.
    virtual long regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) = 0;
    // Name of the value at `index` in enumeration order; kRegNoMoreItems past the last.
    virtual long regEnumValue(HKey key, std::uint32_t index, std::string* name) const = 0;
    // Deletes `subKey` below `parent`, which must have no subkeys.
    virtual long regDeleteKey(HKey parent, const std::string& subKey) = 0;
    // Closes a key opened by regOpenKey or regCreateKey; kRegInvalidHandle for any other.
    virtual long regCloseKey(HKey key) = 0;
};

}  // namespace zelvo::platform

// The registry calls as a backend's registry declares them, written once here.
#define ZELVO_REGISTRY_CALLS                                                                          \
    long regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) override; \
    long regCreateKey(HKey parent, const std::string& subKey, HKey* result) override;                 \
    long regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,    \
                       std::uint32_t* size) const override;                                           \
    long regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data, \
                     std::uint32_t size) override;                                                    \
    long regEnumValue(HKey key, std::uint32_t index, std::string* name) const override;               \
    long regDeleteKey(HKey parent, const std::string& subKey) override;                               \
    long regCloseKey(HKey key) override
