#include "platform/RegistryTree.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace zelvo::platform {

namespace {

// Windows error numbers that only this registry produces.
constexpr long kRegInvalidParameter = 87;
constexpr long kRegBadPathname = 161;  // a path below a key that begins with a backslash
constexpr long kRegKeyDeleted = 1018;  // a handle to a key that was deleted meanwhile

// Handles count up from here in steps of 4, as Windows hands them out; they stay far below the
// predefined roots (0x80000000 and up).
constexpr HKey kFirstHandle = 0x1000;
constexpr HKey kHandleLimit = 0x80000000u;

struct Node {
    std::string name;
    Node* parent = nullptr;  // never followed from a deleted node
    std::vector<std::shared_ptr<Node>> children;
    std::vector<std::pair<std::string, RegValue>> values;
    std::shared_ptr<RegValueStore> store;
    bool refuseAllAccess = false;
    bool refuseOpen = false;
    bool readOnly = false;
    bool deleted = false;
};

struct Root {
    std::shared_ptr<Node> node = std::make_shared<Node>();
    bool present = true;
};

struct Handle {
    std::shared_ptr<Node> node;
    RegAccess access = RegAccess::Read;
    // Values set through this handle on a key kept in a store, written when the handle closes.
    std::vector<std::pair<std::string, RegValue>> staged;
};

void markDeleted(Node& node) {
    node.deleted = true;
    for (auto& child : node.children)
        markDeleted(*child);
}

// Writes are refused below a read-only key, as an inherited permission would.
bool writeProtected(const Node* node) {
    for (; node; node = node->parent)
        if (node->readOnly)
            return true;
    return false;
}

// The reg* calls take paths relative to a key; the direct editing calls accept a leading one.
bool beginsWithBackslash(std::string_view path) {
    return !path.empty() && path.front() == '\\';
}

bool isStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::string hexRoot(HKey root) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(root));
    return text;
}

}  // namespace

struct RegistryTree::Impl {
    std::map<HKey, Root> roots;
    std::map<HKey, Handle> handles;
    HKey nextHandle = kFirstHandle;
    std::function<bool(std::uint8_t)> isLeadByte;

    Impl() {
        for (HKey root : {kHKeyClassesRoot, kHKeyCurrentUser, kHKeyLocalMachine, kHKeyUsers, kHKeyDynData})
            roots[root];
    }

    bool lead(unsigned char c) const { return isLeadByte && isLeadByte(c); }

    static unsigned char fold(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

    bool sameName(std::string_view a, std::string_view b) const {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (lead(x)) {
                // A double-byte character compares exactly, trail byte included.
                if (x != y || (i + 1 < a.size() && a[i + 1] != b[i + 1]))
                    return false;
                ++i;
                continue;
            }
            if (fold(x) != fold(y))
                return false;
        }
        return true;
    }

    // Splits a key path at backslashes that are not trail bytes. One leading and one trailing
    // backslash are ignored; any other empty name makes the path invalid (nullopt).
    std::optional<std::vector<std::string_view>> split(std::string_view path) const {
        if (!path.empty() && path.front() == '\\')
            path.remove_prefix(1);
        std::vector<std::size_t> separators;
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (lead(static_cast<unsigned char>(path[i])))
                ++i;
            else if (path[i] == '\\')
                separators.push_back(i);
        }
        if (!separators.empty() && separators.back() + 1 == path.size()) {
            path.remove_suffix(1);
            separators.pop_back();
        }
        std::vector<std::string_view> parts;
        if (path.empty())
            return parts;
        separators.push_back(path.size());
        std::size_t start = 0;
        for (std::size_t end : separators) {
            if (end == start)
                return std::nullopt;
            parts.push_back(path.substr(start, end - start));
            start = end + 1;
        }
        return parts;
    }

    Node* child(const Node& node, std::string_view name) const {
        for (const auto& c : node.children)
            if (sameName(c->name, name))
                return c.get();
        return nullptr;
    }

    std::shared_ptr<Node> childPtr(const Node& node, std::string_view name) const {
        for (const auto& c : node.children)
            if (sameName(c->name, name))
                return c;
        return nullptr;
    }

    std::shared_ptr<Node> addChild(Node& node, std::string_view name) {
        auto c = std::make_shared<Node>();
        c->name = std::string(name);
        c->parent = &node;
        node.children.push_back(c);
        return c;
    }

    // The key a sub-key path starts from, the access it was opened with, and the path's parts.
    struct PathStart {
        std::shared_ptr<Node> node;
        RegAccess access = RegAccess::Read;
        std::vector<std::string_view> parts;
    };

    // The start of a sub-key path as the open, create and delete calls take it; any status but
    // success ends the call.
    long resolvePath(HKey parent, std::string_view subKey, PathStart* start) const {
        if (long status = resolve(parent, &start->node, &start->access); status != kRegSuccess)
            return status;
        if (beginsWithBackslash(subKey))
            return kRegBadPathname;
        auto pieces = split(subKey);
        if (!pieces)
            return kRegFileNotFound;
        start->parts = std::move(*pieces);
        return kRegSuccess;
    }

    // The same for the calls that hand back a key: `*result` is cleared first, so a failed call
    // leaves no handle there.
    long resolvePathForResult(HKey parent, std::string_view subKey, HKey* result, PathStart* start) const {
        if (!result)
            return kRegInvalidParameter;
        *result = 0;
        return resolvePath(parent, subKey, start);
    }

    // The node behind a predefined root or an open handle.
    long resolve(HKey key, std::shared_ptr<Node>* node, RegAccess* access) const {
        if (auto r = roots.find(key); r != roots.end()) {
            if (!r->second.present)
                return kRegInvalidHandle;
            *node = r->second.node;
            *access = RegAccess::AllAccess;
            return kRegSuccess;
        }
        auto h = handles.find(key);
        if (h == handles.end())
            return kRegInvalidHandle;
        if (h->second.node->deleted)
            return kRegKeyDeleted;
        *node = h->second.node;
        *access = h->second.access;
        return kRegSuccess;
    }

    HKey newHandle(std::shared_ptr<Node> node, RegAccess access) {
        while (handles.count(nextHandle))
            advance();
        const HKey h = nextHandle;
        handles[h] = Handle{std::move(node), access, {}};
        advance();
        return h;
    }

    void advance() {
        nextHandle += 4;
        if (nextHandle >= kHandleLimit)
            nextHandle = kFirstHandle;
    }

    std::vector<std::pair<std::string, RegValue>> valuesOf(const Node& node) const {
        return node.store ? node.store->load() : node.values;
    }

    // The values as seen through `key`: the store's, with what the handle has staged.
    std::vector<std::pair<std::string, RegValue>> valuesThrough(HKey key, const Node& node) const {
        auto values = valuesOf(node);
        if (const auto h = handles.find(key); h != handles.end())
            for (const auto& [name, value] : h->second.staged)
                replaceOrAppend(values, name, value);
        return values;
    }

    void replaceOrAppend(std::vector<std::pair<std::string, RegValue>>& values, std::string_view name,
                         RegValue value) const {
        for (auto& [existing, stored] : values) {
            if (sameName(existing, name)) {
                stored = std::move(value);
                return;
            }
        }
        values.emplace_back(std::string(name), std::move(value));
    }

    const Root& rootFor(HKey root) const {
        auto r = roots.find(root);
        if (r == roots.end())
            throw std::invalid_argument("RegistryTree: unknown root key " + hexRoot(root));
        return r->second;
    }

    std::vector<std::string_view> editPath(std::string_view path) const {
        auto parts = split(path);
        if (!parts)
            throw std::invalid_argument("RegistryTree: empty key name in path '" + std::string(path) + "'");
        return *parts;
    }

    // Direct editing: the node of a path, created when missing.
    Node& editNode(HKey root, std::string_view path) {
        Node* node = rootFor(root).node.get();
        for (std::string_view part : editPath(path)) {
            Node* next = child(*node, part);
            node = next ? next : addChild(*node, part).get();
        }
        return *node;
    }

    // Direct editing: the node of a path, or null.
    Node* findNode(HKey root, std::string_view path) const {
        Node* node = rootFor(root).node.get();
        for (std::string_view part : editPath(path)) {
            node = child(*node, part);
            if (!node)
                return nullptr;
        }
        return node;
    }

    bool storeValue(Node& node, std::string_view name, RegValue value) {
        if (node.store)
            return node.store->store(std::string(name), value);
        replaceOrAppend(node.values, name, std::move(value));
        return true;
    }

    void removeChild(Node& parent, const Node* target) {
        auto& kids = parent.children;
        auto it = std::find_if(kids.begin(), kids.end(), [&](const auto& c) { return c.get() == target; });
        if (it == kids.end())
            return;
        markDeleted(**it);
        kids.erase(it);
    }
};

RegistryTree::RegistryTree() : impl_(std::make_unique<Impl>()) {}
RegistryTree::~RegistryTree() = default;
RegistryTree::RegistryTree(RegistryTree&&) noexcept = default;
RegistryTree& RegistryTree::operator=(RegistryTree&&) noexcept = default;

void RegistryTree::setLeadByteTest(std::function<bool(std::uint8_t)> isLeadByte) {
    impl_->isLeadByte = std::move(isLeadByte);
}

// --- direct editing ---

void RegistryTree::createKey(HKey root, std::string_view path) {
    impl_->editNode(root, path);
}

bool RegistryTree::hasKey(HKey root, std::string_view path) const {
    return impl_->findNode(root, path) != nullptr;
}

void RegistryTree::removeKey(HKey root, std::string_view path) {
    Node* node = impl_->findNode(root, path);
    if (node && node->parent)
        impl_->removeChild(*node->parent, node);
}

void RegistryTree::setValue(HKey root, std::string_view path, std::string_view name, RegValue value) {
    impl_->storeValue(impl_->editNode(root, path), name, std::move(value));
}

void RegistryTree::removeValue(HKey root, std::string_view path, std::string_view name) {
    Node* node = impl_->findNode(root, path);
    if (!node)
        return;
    auto& values = node->values;
    values.erase(
        std::remove_if(values.begin(), values.end(), [&](const auto& v) { return impl_->sameName(v.first, name); }),
        values.end());
}

std::optional<RegValue> RegistryTree::getValue(HKey root, std::string_view path, std::string_view name) const {
    const Node* node = impl_->findNode(root, path);
    if (!node)
        return std::nullopt;
    for (auto& [existing, value] : impl_->valuesOf(*node))
        if (impl_->sameName(existing, name))
            return value;
    return std::nullopt;
}

void RegistryTree::setRefuseAllAccess(HKey root, std::string_view path, bool refuse) {
    impl_->editNode(root, path).refuseAllAccess = refuse;
}

void RegistryTree::setRefuseOpen(HKey root, std::string_view path, bool refuse) {
    impl_->editNode(root, path).refuseOpen = refuse;
}

void RegistryTree::setReadOnly(HKey root, std::string_view path, bool readOnly) {
    impl_->editNode(root, path).readOnly = readOnly;
}

void RegistryTree::setStore(HKey root, std::string_view path, std::shared_ptr<RegValueStore> store) {
    impl_->editNode(root, path).store = std::move(store);
}

void RegistryTree::setRootPresent(HKey root, bool present) {
    impl_->rootFor(root);
    impl_->roots[root].present = present;
}

// --- the reg* calls ---

long RegistryTree::regOpenKey(HKey parent, const std::string& subKey, RegAccess access, HKey* result) {
    Impl::PathStart start;
    if (long status = impl_->resolvePathForResult(parent, subKey, result, &start); status != kRegSuccess)
        return status;
    std::shared_ptr<Node> node = std::move(start.node);
    for (std::string_view part : start.parts) {
        node = impl_->childPtr(*node, part);
        if (!node)
            return kRegFileNotFound;
    }
    // Only the key opened is checked, not the keys on the way (traversal needs no right).
    if (node->refuseOpen || (access == RegAccess::AllAccess && node->refuseAllAccess))
        return kRegAccessDenied;
    *result = impl_->newHandle(std::move(node), access);
    return kRegSuccess;
}

long RegistryTree::regCreateKey(HKey parent, const std::string& subKey, HKey* result) {
    Impl::PathStart start;
    if (long status = impl_->resolvePathForResult(parent, subKey, result, &start); status != kRegSuccess)
        return status;
    std::shared_ptr<Node> node = std::move(start.node);
    const std::vector<std::string_view>& path = start.parts;
    std::size_t i = 0;
    for (; i < path.size(); ++i) {
        auto next = impl_->childPtr(*node, path[i]);
        if (!next)
            break;
        node = std::move(next);
    }
    if (i < path.size()) {
        // Making a key needs the right to add keys where the first missing one goes; checked
        // before anything is made, so a refused call leaves no partial path behind.
        const bool parentIsHandle = impl_->handles.count(parent) > 0;
        if ((i == 0 && parentIsHandle && start.access != RegAccess::AllAccess) || node->refuseOpen ||
            node->refuseAllAccess || writeProtected(node.get()))
            return kRegAccessDenied;
        for (; i < path.size(); ++i)
            node = impl_->addChild(*node, path[i]);
    }
    if (node->refuseOpen || node->refuseAllAccess)
        return kRegAccessDenied;
    *result = impl_->newHandle(std::move(node), RegAccess::AllAccess);
    return kRegSuccess;
}

long RegistryTree::regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size) const {
    std::shared_ptr<Node> node;
    RegAccess access;
    if (long status = impl_->resolve(key, &node, &access); status != kRegSuccess)
        return status;
    if (data && !size)
        return kRegInvalidParameter;
    for (auto& [existing, value] : impl_->valuesThrough(key, *node)) {
        if (!impl_->sameName(existing, name))
            continue;
        if (type)
            *type = value.type;
        const auto needed = static_cast<std::uint32_t>(value.data.size());
        if (!data) {
            if (size)
                *size = needed;
            return kRegSuccess;
        }
        // Too small a buffer: nothing is copied, the size needed is reported.
        const std::uint32_t bufferSize = *size;
        const bool fits = bufferSize >= needed;
        *size = needed;
        if (!fits)
            return kRegMoreData;
        if (needed > 0)
            std::memcpy(data, value.data.data(), needed);
        // A string stored without its terminating zero gets one where the buffer has room for
        // it; the size reported stays that of the value.
        if (isStringType(value.type) && needed > 0 && needed < bufferSize && value.data.back() != '\0')
            data[needed] = 0;
        return kRegSuccess;
    }
    return kRegFileNotFound;
}

long RegistryTree::regSetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size) {
    std::shared_ptr<Node> node;
    RegAccess access;
    if (long status = impl_->resolve(key, &node, &access); status != kRegSuccess)
        return status;
    if (!data && size > 0)
        return kRegInvalidParameter;
    if (access != RegAccess::AllAccess || writeProtected(node.get()))
        return kRegAccessDenied;
    RegValue value{type, data ? std::string(reinterpret_cast<const char*>(data), size) : std::string()};
    if (const auto h = impl_->handles.find(key); node->store && h != impl_->handles.end()) {
        impl_->replaceOrAppend(h->second.staged, name, std::move(value));
        return kRegSuccess;
    }
    return impl_->storeValue(*node, name, std::move(value)) ? kRegSuccess : kRegAccessDenied;
}

long RegistryTree::regEnumValue(HKey key, std::uint32_t index, std::string* name) const {
    std::shared_ptr<Node> node;
    RegAccess access;
    if (long status = impl_->resolve(key, &node, &access); status != kRegSuccess)
        return status;
    if (!name)
        return kRegInvalidParameter;
    const auto values = impl_->valuesThrough(key, *node);
    if (index >= values.size())
        return kRegNoMoreItems;
    *name = values[index].first;
    return kRegSuccess;
}

long RegistryTree::regDeleteKey(HKey parent, const std::string& subKey) {
    Impl::PathStart start;
    if (long status = impl_->resolvePath(parent, subKey, &start); status != kRegSuccess)
        return status;
    if (start.parts.empty())
        return kRegAccessDenied;  // a root, or the parent itself
    std::shared_ptr<Node> node = std::move(start.node);
    for (std::string_view part : start.parts) {
        node = impl_->childPtr(*node, part);
        if (!node)
            return kRegFileNotFound;
    }
    // As on NT: a key with subkeys is not deleted.
    if (!node->children.empty() || node->refuseOpen || node->refuseAllAccess || writeProtected(node.get()))
        return kRegAccessDenied;
    impl_->removeChild(*node->parent, node.get());
    return kRegSuccess;
}

long RegistryTree::regCloseKey(HKey key) {
    if (auto r = impl_->roots.find(key); r != impl_->roots.end())
        return r->second.present ? kRegSuccess : kRegInvalidHandle;  // closing a root does nothing
    const auto h = impl_->handles.find(key);
    if (h == impl_->handles.end())
        return kRegInvalidHandle;
    // One file replacement for the whole opening: a crash never leaves half of it written.
    const Handle handle = std::move(h->second);
    impl_->handles.erase(h);
    if (handle.staged.empty() || handle.node->deleted || !handle.node->store)
        return kRegSuccess;
    return handle.node->store->storeAll(handle.staged) ? kRegSuccess : kRegAccessDenied;
}

bool RegValueStore::storeAll(const std::vector<std::pair<std::string, RegValue>>& values) {
    bool stored = true;
    for (const auto& [name, value] : values)
        stored = store(name, value) && stored;
    return stored;
}

std::size_t RegistryTree::openHandleCount() const {
    return impl_->handles.size();
}

}  // namespace zelvo::platform
