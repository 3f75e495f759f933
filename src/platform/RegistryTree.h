#pragma once
// An in-memory registry with the Windows call semantics of the Registry calls. The simulated
// machine keeps its whole registry here; the Linux backend fills one with keys read live from the
// machine and backs the registration key with a per-user file.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace zelvo::platform {

struct RegValue {
    std::uint32_t type = kRegNone;
    std::string data;  // raw bytes, strings in the platform's code page with their terminating zero
};

// Where a key's values live when they must outlast the process (the Linux registration store).
class RegValueStore {
public:
    virtual ~RegValueStore() = default;
    // Values in enumeration order; called each time the key's values are read.
    virtual std::vector<std::pair<std::string, RegValue>> load() = 0;
    // Writes one value; false when it cannot be stored.
    virtual bool store(const std::string& name, const RegValue& value) = 0;
    // Writes the values of one opening of the key, all or none where the store can do so (this
    // default writes them one by one); false when any cannot be stored.
    virtual bool storeAll(const std::vector<std::pair<std::string, RegValue>>& values);
};

class RegistryTree final : public Registry {
public:
    RegistryTree();
    ~RegistryTree();
    RegistryTree(const RegistryTree&) = delete;
    RegistryTree& operator=(const RegistryTree&) = delete;
    // Moving carries the keys and the open handles along (machines are returned by value).
    RegistryTree(RegistryTree&&) noexcept;
    RegistryTree& operator=(RegistryTree&&) noexcept;

    // Names are code-page bytes. In a double-byte code page a trail byte may equal '\\' or an
    // ASCII letter; with this test set, a trail byte never splits a path and is never case-folded.
    void setLeadByteTest(std::function<bool(std::uint8_t)> isLeadByte);

    // --- direct editing (tests, profiles, backends); paths are backslash-separated, no leading
    // backslash, compared ignoring ASCII case. They ignore access flags and root presence; an
    // unknown root or a path with an empty name throws std::invalid_argument. The setters create
    // the key when it is missing. ---
    void createKey(HKey root, std::string_view path);
    bool hasKey(HKey root, std::string_view path) const;
    void removeKey(HKey root, std::string_view path);
    // Creates the key when missing; replaces a value of the same name in place, else appends it.
    void setValue(HKey root, std::string_view path, std::string_view name, RegValue value);
    // Removes a value kept in the tree; a store's values are the store's own (it has no removal).
    void removeValue(HKey root, std::string_view path, std::string_view name);
    // The value as the reg* calls would read it (through the key's store when it has one).
    std::optional<RegValue> getValue(HKey root, std::string_view path, std::string_view name) const;
    // A key that refuses all-access opening (an ordinary user on a machine key); read access works.
    // This flag and the next concern the key itself, not the keys below it.
    void setRefuseAllAccess(HKey root, std::string_view path, bool refuse);
    // A key that refuses every opening.
    void setRefuseOpen(HKey root, std::string_view path, bool refuse);
    // Fails every write below the key, for refusal tests.
    void setReadOnly(HKey root, std::string_view path, bool readOnly);
    void setStore(HKey root, std::string_view path, std::shared_ptr<RegValueStore> store);
    // Whether a root key exists on this machine (HKEY_DYN_DATA exists only on the 9x family).
    // Every call on an absent root answers kRegInvalidHandle, as NT does for HKEY_DYN_DATA.
    void setRootPresent(HKey root, bool present);

    // --- the Registry calls, same contracts, as Windows answers them: a sub-key path that
    // begins with a backslash is a bad path (161); a string value stored without its terminating
    // zero is read with one added where the buffer has room (the size reported is the value's).
    // On a key kept in a store, the values set through one handle are seen through that handle at
    // once and reach the store together when the handle is closed; close answers access denied
    // when the store refuses them. ---
    ZELVO_REGISTRY_CALLS;

    // Handles opened and not yet closed (tests check that every opened key is closed).
    std::size_t openHandleCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zelvo::platform
