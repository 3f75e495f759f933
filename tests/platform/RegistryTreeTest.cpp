#include "platform/RegistryTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/CodePage.h"
#include "support/CodePageTextTesting.h"

using namespace zelvo::platform;

namespace {

constexpr long kKeyDeleted = 1018;
constexpr long kBadPathname = 161;

RegValue value(std::uint32_t type, std::string bytes) {
    return RegValue{type, std::move(bytes)};
}

class RegistryTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.setLeadByteTest(cp932::isLeadByte);
        tree.setValue(kHKeyLocalMachine, "SOFTWARE\\Zelvo", "First", value(kRegSz, std::string("one\0", 4)));
        tree.setValue(kHKeyLocalMachine, "SOFTWARE\\Zelvo", "Second", value(kRegBinary, "\x01\x02\x03"));
        tree.setValue(kHKeyLocalMachine, "SOFTWARE\\Zelvo", "Third", value(kRegDword, std::string("\x07\0\0\0", 4)));
        tree.createKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub");
        tree.setRefuseAllAccess(kHKeyLocalMachine, "HARDWARE\\Locked", true);
        tree.createKey(kHKeyLocalMachine, "HARDWARE\\Locked\\Below");
        tree.setRefuseOpen(kHKeyLocalMachine, "HARDWARE\\Sealed", true);
        tree.setReadOnly(kHKeyLocalMachine, "SOFTWARE\\Frozen", true);
        tree.createKey(kHKeyLocalMachine, "SOFTWARE\\Frozen\\Inner");
        tree.createKey(kHKeyDynData, "PerfStats\\StatData");
        tree.setRootPresent(kHKeyDynData, false);
    }

    HKey openOrFail(HKey parent, const std::string& path, RegAccess access = RegAccess::AllAccess) {
        HKey key = 0;
        EXPECT_EQ(tree.regOpenKey(parent, path, access, &key), kRegSuccess) << path;
        return key;
    }

    std::vector<std::string> names(HKey key) {
        std::vector<std::string> out;
        std::string name;
        for (std::uint32_t i = 0; tree.regEnumValue(key, i, &name) == kRegSuccess; ++i)
            out.push_back(name);
        return out;
    }

    RegistryTree tree;
};

struct OpenCase {
    const char* what;
    HKey parent;
    const char* path;
    RegAccess access;
    long status;
};

TEST_F(RegistryTreeTest, OpenAnswersWithTheWindowsStatusCodes) {
    const OpenCase cases[] = {
        {"plain path", kHKeyLocalMachine, "SOFTWARE\\Zelvo", RegAccess::Read, kRegSuccess},
        {"names ignore ASCII case", kHKeyLocalMachine, "software\\ZELVO\\sUB", RegAccess::AllAccess, kRegSuccess},
        {"leading backslash is a bad path", kHKeyLocalMachine, "\\SOFTWARE\\Zelvo", RegAccess::Read, kBadPathname},
        {"trailing backslash ignored", kHKeyLocalMachine, "SOFTWARE\\Zelvo\\", RegAccess::Read, kRegSuccess},
        {"empty path opens the parent again", kHKeyLocalMachine, "", RegAccess::Read, kRegSuccess},
        {"empty name inside the path", kHKeyLocalMachine, "SOFTWARE\\\\Zelvo", RegAccess::Read, kRegFileNotFound},
        {"missing key", kHKeyLocalMachine, "SOFTWARE\\Missing", RegAccess::Read, kRegFileNotFound},
        {"missing key below an existing one", kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub\\X", RegAccess::Read,
         kRegFileNotFound},
        {"roots are separate trees", kHKeyCurrentUser, "SOFTWARE\\Zelvo", RegAccess::Read, kRegFileNotFound},
        {"all access refused", kHKeyLocalMachine, "HARDWARE\\Locked", RegAccess::AllAccess, kRegAccessDenied},
        {"read access to a refusing key", kHKeyLocalMachine, "HARDWARE\\Locked", RegAccess::Read, kRegSuccess},
        {"the refusal is the key's own", kHKeyLocalMachine, "HARDWARE\\Locked\\Below", RegAccess::AllAccess,
         kRegSuccess},
        {"sealed key, read", kHKeyLocalMachine, "HARDWARE\\Sealed", RegAccess::Read, kRegAccessDenied},
        {"sealed key, all access", kHKeyLocalMachine, "HARDWARE\\Sealed", RegAccess::AllAccess, kRegAccessDenied},
        {"read-only key opens with all access", kHKeyLocalMachine, "SOFTWARE\\Frozen", RegAccess::AllAccess,
         kRegSuccess},
        {"absent root", kHKeyDynData, "PerfStats\\StatData", RegAccess::Read, kRegInvalidHandle},
        {"absent root, empty path", kHKeyDynData, "", RegAccess::Read, kRegInvalidHandle},
        {"unknown handle", 0x1234, "", RegAccess::Read, kRegInvalidHandle},
        {"null handle", 0, "SOFTWARE", RegAccess::Read, kRegInvalidHandle},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.what);
        HKey key = 0xDEAD;
        EXPECT_EQ(tree.regOpenKey(c.parent, c.path, c.access, &key), c.status);
        if (c.status == kRegSuccess) {
            EXPECT_NE(key, 0u);
            EXPECT_LT(key, kHKeyClassesRoot);
            EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
        } else {
            EXPECT_EQ(key, 0u);
        }
        EXPECT_EQ(tree.openHandleCount(), 0u);
    }
}

TEST_F(RegistryTreeTest, HandlesAreDistinctCountedAndDieOnClose) {
    const HKey a = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    const HKey b = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    EXPECT_NE(a, b);
    EXPECT_EQ(tree.openHandleCount(), 2u);

    EXPECT_EQ(tree.regCloseKey(a), kRegSuccess);
    EXPECT_EQ(tree.openHandleCount(), 1u);
    EXPECT_EQ(tree.regCloseKey(a), kRegInvalidHandle);
    std::uint32_t size = 0;
    EXPECT_EQ(tree.regQueryValue(a, "First", nullptr, nullptr, &size), kRegInvalidHandle);
    std::string name;
    EXPECT_EQ(tree.regEnumValue(a, 0, &name), kRegInvalidHandle);
    const std::uint8_t byte = 1;
    EXPECT_EQ(tree.regSetValue(a, "X", kRegBinary, &byte, 1), kRegInvalidHandle);
    HKey child = 0;
    EXPECT_EQ(tree.regOpenKey(a, "Sub", RegAccess::Read, &child), kRegInvalidHandle);

    EXPECT_EQ(tree.regQueryValue(b, "First", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(tree.regCloseKey(b), kRegSuccess);
    EXPECT_EQ(tree.openHandleCount(), 0u);
    // Closing a predefined root does nothing and succeeds; closing an absent one fails.
    EXPECT_EQ(tree.regCloseKey(kHKeyLocalMachine), kRegSuccess);
    EXPECT_EQ(tree.regCloseKey(kHKeyDynData), kRegInvalidHandle);
}

TEST_F(RegistryTreeTest, OpenRelativeToAnOpenHandle) {
    const HKey software = openOrFail(kHKeyLocalMachine, "SOFTWARE", RegAccess::Read);
    HKey sub = 0;
    EXPECT_EQ(tree.regOpenKey(software, "Zelvo\\Sub", RegAccess::AllAccess, &sub), kRegSuccess);
    HKey again = 0;
    EXPECT_EQ(tree.regOpenKey(sub, "", RegAccess::Read, &again), kRegSuccess);
    EXPECT_NE(again, sub);
    HKey missing = 0;
    EXPECT_EQ(tree.regOpenKey(software, "Sub", RegAccess::Read, &missing), kRegFileNotFound);
    for (HKey k : {software, sub, again})
        EXPECT_EQ(tree.regCloseKey(k), kRegSuccess);
    EXPECT_EQ(tree.openHandleCount(), 0u);
}

struct QueryCase {
    const char* name;
    int buffer;  // bytes offered; -1 = no buffer (size query)
    long status;
    std::uint32_t type;
    std::uint32_t size;
    std::string copied;  // what the buffer holds afterwards (its first `size` bytes on success)
};

TEST_F(RegistryTreeTest, QueryFollowsTheBufferRules) {
    const std::string untouched(16, '\xEE');
    const QueryCase cases[] = {
        {"First", -1, kRegSuccess, kRegSz, 4, ""},
        {"fIRST", -1, kRegSuccess, kRegSz, 4, ""},
        {"First", 4, kRegSuccess, kRegSz, 4, std::string("one\0", 4)},
        {"Second", 3, kRegSuccess, kRegBinary, 3, "\x01\x02\x03"},
        {"Second", 10, kRegSuccess, kRegBinary, 3, "\x01\x02\x03"},
        // Too small: the size needed comes back and nothing is copied.
        {"Second", 2, kRegMoreData, kRegBinary, 3, untouched.substr(0, 3)},
        {"Second", 0, kRegMoreData, kRegBinary, 3, untouched.substr(0, 3)},
        {"Third", 4, kRegSuccess, kRegDword, 4, std::string("\x07\0\0\0", 4)},
        {"Missing", 16, kRegFileNotFound, 0xFFFF, 0xFFFF, ""},
        {"", -1, kRegFileNotFound, 0xFFFF, 0xFFFF, ""},
    };
    const HKey key = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo", RegAccess::Read);
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(c.buffer));
        std::string buffer = untouched;
        std::uint32_t type = 0xFFFF;
        std::uint32_t size = c.buffer < 0 ? 0 : static_cast<std::uint32_t>(c.buffer);
        if (c.status == kRegFileNotFound)
            size = 0xFFFF;
        std::uint8_t* data = c.buffer < 0 ? nullptr : reinterpret_cast<std::uint8_t*>(buffer.data());
        EXPECT_EQ(tree.regQueryValue(key, c.name, &type, data, &size), c.status);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(size, c.size);
        if (!c.copied.empty()) {
            EXPECT_EQ(buffer.substr(0, c.copied.size()), c.copied);
        }
        if (c.buffer < 0 || c.status != kRegSuccess) {
            EXPECT_EQ(buffer, untouched);
        }
    }
    // A buffer without a size is a caller's error, not a crash.
    std::uint8_t byte = 0;
    EXPECT_NE(tree.regQueryValue(key, "First", nullptr, &byte, nullptr), kRegSuccess);
    EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
}

struct BareStringCase {
    std::uint32_t type;
    std::string stored;
    std::uint32_t buffer;
    std::string read;  // the buffer's first bytes afterwards
};

TEST_F(RegistryTreeTest, AStringWithoutItsZeroGetsOneWhereTheBufferHasRoom) {
    const BareStringCase cases[] = {
        {kRegSz, "abc", 8, std::string("abc\0\xEE", 5)},
        {kRegExpandSz, "%X%", 4, std::string("%X%\0", 4)},
        {kRegMultiSz, std::string("a\0b", 3), 8, std::string("a\0b\0", 4)},
        {kRegSz, "abc", 3, "abc\xEE"},                                    // no room: nothing is added
        {kRegSz, std::string("ab\0", 3), 8, std::string("ab\0\xEE", 4)},  // ends with its zero already
        {kRegBinary, "abc", 8, "abc\xEE"},                                // not a string
    };
    const HKey key = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    for (const BareStringCase& c : cases) {
        SCOPED_TRACE(c.type);
        SCOPED_TRACE(c.buffer);
        ASSERT_EQ(tree.regSetValue(key, "Bare", c.type, reinterpret_cast<const std::uint8_t*>(c.stored.data()),
                                   static_cast<std::uint32_t>(c.stored.size())),
                  kRegSuccess);
        std::string buffer(16, '\xEE');
        std::uint32_t size = c.buffer;
        ASSERT_EQ(tree.regQueryValue(key, "Bare", nullptr, reinterpret_cast<std::uint8_t*>(buffer.data()), &size),
                  kRegSuccess);
        EXPECT_EQ(size, c.stored.size());
        EXPECT_EQ(buffer.substr(0, c.read.size()), c.read);
    }
    EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
}

TEST_F(RegistryTreeTest, PathsBelowAKeyNeverBeginWithABackslash) {
    HKey key = 0;
    EXPECT_EQ(tree.regCreateKey(kHKeyLocalMachine, "\\SOFTWARE\\New", &key), kBadPathname);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(tree.hasKey(kHKeyLocalMachine, "SOFTWARE\\New"));
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, "\\SOFTWARE\\Zelvo\\Sub"), kBadPathname);
    EXPECT_TRUE(tree.hasKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub"));
    // Direct editing, which is no call of the system's, takes one.
    EXPECT_TRUE(tree.hasKey(kHKeyLocalMachine, "\\SOFTWARE\\Zelvo"));
}

TEST_F(RegistryTreeTest, ValuesEnumerateInInsertionOrderAndReplaceInPlace) {
    const HKey key = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    EXPECT_EQ(names(key), (std::vector<std::string>{"First", "Second", "Third"}));
    std::string name;
    EXPECT_EQ(tree.regEnumValue(key, 3, &name), kRegNoMoreItems);

    const std::uint8_t bytes[] = {9, 9};
    EXPECT_EQ(tree.regSetValue(key, "SECOND", kRegBinary, bytes, 2), kRegSuccess);
    EXPECT_EQ(tree.regSetValue(key, "Fourth", kRegNone, nullptr, 0), kRegSuccess);
    EXPECT_EQ(names(key), (std::vector<std::string>{"First", "Second", "Third", "Fourth"}));
    std::uint32_t size = 0;
    EXPECT_EQ(tree.regQueryValue(key, "Second", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(tree.regQueryValue(key, "Fourth", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
}

struct SetCase {
    const char* what;
    const char* path;
    RegAccess access;
    long status;
};

TEST_F(RegistryTreeTest, SetNeedsAllAccessAndAWritableKey) {
    const SetCase cases[] = {
        {"writable key", "SOFTWARE\\Zelvo", RegAccess::AllAccess, kRegSuccess},
        {"opened for reading", "SOFTWARE\\Zelvo", RegAccess::Read, kRegAccessDenied},
        {"read-only key", "SOFTWARE\\Frozen", RegAccess::AllAccess, kRegAccessDenied},
        {"below a read-only key", "SOFTWARE\\Frozen\\Inner", RegAccess::AllAccess, kRegAccessDenied},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.what);
        const HKey key = openOrFail(kHKeyLocalMachine, c.path, c.access);
        const std::string data("new\0", 4);
        EXPECT_EQ(tree.regSetValue(key, c.what, kRegSz, reinterpret_cast<const std::uint8_t*>(data.data()), 4),
                  c.status);
        const auto stored = tree.getValue(kHKeyLocalMachine, c.path, c.what);
        EXPECT_EQ(stored.has_value(), c.status == kRegSuccess);
        if (stored) {
            EXPECT_EQ(stored->data, data);
        }
        EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
    }
    // Writing to a predefined root's own values works like any writable key.
    const std::uint8_t byte = 1;
    EXPECT_EQ(tree.regSetValue(kHKeyCurrentUser, "AtRoot", kRegBinary, &byte, 1), kRegSuccess);
    EXPECT_TRUE(tree.getValue(kHKeyCurrentUser, "", "AtRoot").has_value());
}

struct CreateCase {
    const char* what;
    HKey parent;  // 0 = a handle to SOFTWARE opened for reading
    const char* path;
    long status;
    const char* mustExist;     // afterwards, below HKEY_LOCAL_MACHINE
    const char* mustNotExist;  // afterwards, below HKEY_LOCAL_MACHINE
};

TEST_F(RegistryTreeTest, CreateMakesTheMissingKeysOnTheWay) {
    const CreateCase cases[] = {
        {"new path", kHKeyLocalMachine, "SOFTWARE\\New\\Deep\\Key", kRegSuccess, "SOFTWARE\\New\\Deep\\Key", ""},
        {"existing key", kHKeyLocalMachine, "software\\zelvo", kRegSuccess, "SOFTWARE\\Zelvo", ""},
        {"existing read-only key opens", kHKeyLocalMachine, "SOFTWARE\\Frozen\\Inner", kRegSuccess,
         "SOFTWARE\\Frozen\\Inner", ""},
        {"nothing is made below a read-only key", kHKeyLocalMachine, "SOFTWARE\\Frozen\\Inner\\A\\B", kRegAccessDenied,
         "", "SOFTWARE\\Frozen\\Inner\\A"},
        {"a refusing key is not opened with all access", kHKeyLocalMachine, "HARDWARE\\Locked", kRegAccessDenied,
         "HARDWARE\\Locked", ""},
        {"nothing is made in a refusing key", kHKeyLocalMachine, "HARDWARE\\Locked\\New", kRegAccessDenied, "",
         "HARDWARE\\Locked\\New"},
        {"read handle: no new key directly below it", 0, "Brand\\New", kRegAccessDenied, "", "SOFTWARE\\Brand"},
        {"read handle: an existing key opens", 0, "Zelvo\\Sub", kRegSuccess, "SOFTWARE\\Zelvo\\Sub", ""},
        {"absent root", kHKeyDynData, "PerfStats\\X", kRegInvalidHandle, "", ""},
        {"empty name inside the path", kHKeyLocalMachine, "SOFTWARE\\\\X", kRegFileNotFound, "", "SOFTWARE\\X"},
    };
    for (const CreateCase& c : cases) {
        SCOPED_TRACE(c.what);
        const HKey readHandle = openOrFail(kHKeyLocalMachine, "SOFTWARE", RegAccess::Read);
        HKey key = 0xDEAD;
        EXPECT_EQ(tree.regCreateKey(c.parent ? c.parent : readHandle, c.path, &key), c.status);
        if (c.status == kRegSuccess) {
            // The key is open for writing.
            const std::uint8_t byte = 1;
            EXPECT_EQ(tree.regSetValue(key, "Made", kRegBinary, &byte, 1),
                      std::string(c.what).find("read-only") == std::string::npos ? kRegSuccess : kRegAccessDenied);
            EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
        } else {
            EXPECT_EQ(key, 0u);
        }
        if (*c.mustExist) {
            EXPECT_TRUE(tree.hasKey(kHKeyLocalMachine, c.mustExist));
        }
        if (*c.mustNotExist) {
            EXPECT_FALSE(tree.hasKey(kHKeyLocalMachine, c.mustNotExist));
        }
        EXPECT_EQ(tree.regCloseKey(readHandle), kRegSuccess);
        EXPECT_EQ(tree.openHandleCount(), 0u);
    }
}

TEST_F(RegistryTreeTest, DeleteKeyRefusesKeysWithSubkeysAndOrphansOpenHandles) {
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo"), kRegAccessDenied);
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Nothing"), kRegFileNotFound);
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Frozen\\Inner"), kRegAccessDenied);
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, ""), kRegAccessDenied);

    const HKey sub = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub");
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub"), kRegSuccess);
    EXPECT_FALSE(tree.hasKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub"));
    std::uint32_t size = 0;
    EXPECT_EQ(tree.regQueryValue(sub, "X", nullptr, nullptr, &size), kKeyDeleted);
    EXPECT_EQ(tree.regCloseKey(sub), kRegSuccess);
    EXPECT_EQ(tree.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub"), kRegFileNotFound);

    // Direct removal takes the whole subtree, also from under open handles.
    const HKey zelvo = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    tree.removeKey(kHKeyLocalMachine, "SOFTWARE");
    std::string name;
    EXPECT_EQ(tree.regEnumValue(zelvo, 0, &name), kKeyDeleted);
    EXPECT_FALSE(tree.hasKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo"));
    EXPECT_EQ(tree.regCloseKey(zelvo), kRegSuccess);
}

class CountingStore : public RegValueStore {
public:
    std::vector<std::pair<std::string, RegValue>> load() override {
        ++loads;
        return values;
    }
    bool store(const std::string& name, const RegValue& value) override {
        if (refuse)
            return false;
        stored.emplace_back(name, value);
        for (auto& [n, v] : values)
            if (n == name) {
                v = value;
                return true;
            }
        values.emplace_back(name, value);
        return true;
    }
    std::vector<std::pair<std::string, RegValue>> values;
    std::vector<std::pair<std::string, RegValue>> stored;
    int loads = 0;
    bool refuse = false;
};

TEST_F(RegistryTreeTest, AStoreIsReadAtEachReadAndWrittenWhenTheKeyCloses) {
    auto store = std::make_shared<CountingStore>();
    store->values = {{"Owner", value(kRegSz, std::string("A\0", 2))}, {"Org", value(kRegSz, std::string("B\0", 2))}};
    tree.setStore(kHKeyLocalMachine, "SOFTWARE\\Registration", store);
    const HKey key = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Registration");

    EXPECT_EQ(names(key), (std::vector<std::string>{"Owner", "Org"}));
    const int loadsAfterListing = store->loads;
    EXPECT_GE(loadsAfterListing, 2);

    // A change made behind the registry's back shows at the next read.
    store->values[0].second = value(kRegSz, std::string("Changed\0", 8));
    std::uint32_t size = 0;
    EXPECT_EQ(tree.regQueryValue(key, "owner", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(store->loads, loadsAfterListing + 1);

    // The writes of one opening reach the store together, at the close.
    const std::string text("New\0", 4);
    const std::string org("Org2\0", 5);
    EXPECT_EQ(tree.regSetValue(key, "Owner", kRegSz, reinterpret_cast<const std::uint8_t*>(text.data()), 4),
              kRegSuccess);
    EXPECT_EQ(tree.regSetValue(key, "ORG", kRegSz, reinterpret_cast<const std::uint8_t*>(org.data()), 5), kRegSuccess);
    EXPECT_TRUE(store->stored.empty());
    // Seen at once through the key that set them, not yet through another.
    size = 0;
    EXPECT_EQ(tree.regQueryValue(key, "owner", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(names(key), (std::vector<std::string>{"Owner", "Org"}));
    const HKey other = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Registration");
    EXPECT_EQ(tree.regQueryValue(other, "owner", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(tree.regCloseKey(other), kRegSuccess);
    EXPECT_TRUE(store->stored.empty());

    EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
    ASSERT_EQ(store->stored.size(), 2u);
    EXPECT_EQ(store->stored[0].first, "Owner");
    EXPECT_EQ(store->stored[0].second.data, text);
    EXPECT_EQ(store->stored[1].first, "ORG");
    EXPECT_EQ(store->stored[1].second.data, org);
    EXPECT_EQ(tree.getValue(kHKeyLocalMachine, "SOFTWARE\\Registration", "Owner")->data, text);

    // A store that refuses the writes makes the close fail; the handle is gone all the same.
    store->refuse = true;
    const HKey refused = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Registration");
    EXPECT_EQ(tree.regSetValue(refused, "Owner", kRegSz, reinterpret_cast<const std::uint8_t*>(org.data()), 5),
              kRegSuccess);
    EXPECT_EQ(tree.regCloseKey(refused), kRegAccessDenied);
    EXPECT_EQ(tree.openHandleCount(), 0u);
    EXPECT_EQ(tree.getValue(kHKeyLocalMachine, "SOFTWARE\\Registration", "Owner")->data, text);
}

TEST_F(RegistryTreeTest, DoubleByteNamesAreNeitherSplitNorFolded) {
    // "ア" is 83 41 and "ヂ" is 83 61: folding the trail byte would make them one name.
    const std::string a = cp932::fromUtf8("ア");
    const std::string di = cp932::fromUtf8("ヂ");
    ASSERT_EQ(a, "\x83\x41");
    ASSERT_EQ(di, "\x83\x61");
    tree.setValue(kHKeyLocalMachine, "SOFTWARE\\Kana", a, value(kRegSz, std::string("a\0", 2)));
    tree.setValue(kHKeyLocalMachine, "SOFTWARE\\Kana", di, value(kRegSz, std::string("di\0", 3)));
    EXPECT_EQ(tree.getValue(kHKeyLocalMachine, "SOFTWARE\\Kana", a)->data, std::string("a\0", 2));
    EXPECT_EQ(tree.getValue(kHKeyLocalMachine, "SOFTWARE\\Kana", di)->data, std::string("di\0", 3));

    // "表" is 95 5C: its trail byte is a backslash that must not split the path.
    const std::string table = cp932::fromUtf8("表示");
    ASSERT_EQ(table[1], '\\');
    tree.createKey(kHKeyLocalMachine, "SOFTWARE\\" + table);
    HKey key = 0;
    EXPECT_EQ(tree.regOpenKey(kHKeyLocalMachine, "software\\" + table, RegAccess::Read, &key), kRegSuccess);
    EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
    EXPECT_FALSE(tree.hasKey(kHKeyLocalMachine, std::string("SOFTWARE\\\x95")));
    // ASCII letters beside double-byte characters still fold.
    tree.createKey(kHKeyLocalMachine, "SOFTWARE\\" + cp932::fromUtf8("ＰＣname"));
    EXPECT_TRUE(tree.hasKey(kHKeyLocalMachine, "SOFTWARE\\" + cp932::fromUtf8("ＰＣNAME")));
}

TEST_F(RegistryTreeTest, DirectEditing) {
    EXPECT_FALSE(tree.getValue(kHKeyLocalMachine, "SOFTWARE\\Zelvo", "Nope").has_value());
    EXPECT_FALSE(tree.getValue(kHKeyLocalMachine, "SOFTWARE\\Nowhere", "First").has_value());
    tree.removeValue(kHKeyLocalMachine, "SOFTWARE\\Zelvo", "second");
    const HKey key = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    EXPECT_EQ(names(key), (std::vector<std::string>{"First", "Third"}));
    EXPECT_EQ(tree.regCloseKey(key), kRegSuccess);
    // Direct editing reaches an absent root (profiles fill it before it is switched off).
    EXPECT_TRUE(tree.hasKey(kHKeyDynData, "PerfStats\\StatData"));

    EXPECT_THROW(tree.createKey(0x12345678, "X"), std::invalid_argument);
    EXPECT_THROW(tree.createKey(kHKeyLocalMachine, "A\\\\B"), std::invalid_argument);
    EXPECT_THROW(tree.setRootPresent(0x80000009u, true), std::invalid_argument);
}

TEST_F(RegistryTreeTest, MovingCarriesKeysAndHandles) {
    const HKey key = openOrFail(kHKeyLocalMachine, "SOFTWARE\\Zelvo");
    RegistryTree moved(std::move(tree));
    EXPECT_EQ(moved.openHandleCount(), 1u);
    std::uint32_t size = 0;
    EXPECT_EQ(moved.regQueryValue(key, "First", nullptr, nullptr, &size), kRegSuccess);
    EXPECT_EQ(moved.regCloseKey(key), kRegSuccess);
    tree = std::move(moved);
    EXPECT_TRUE(tree.hasKey(kHKeyLocalMachine, "SOFTWARE\\Zelvo\\Sub"));
}

TEST(RegistryTreeHandles, NeverCollideWithPredefinedRoots) {
    RegistryTree tree;
    tree.createKey(kHKeyLocalMachine, "K");
    std::vector<HKey> open;
    for (int i = 0; i < 1000; ++i) {
        HKey key = 0;
        ASSERT_EQ(tree.regOpenKey(kHKeyLocalMachine, "K", RegAccess::Read, &key), kRegSuccess);
        ASSERT_NE(key, 0u);
        ASSERT_LT(key, kHKeyClassesRoot);
        open.push_back(key);
        if (i % 3 == 0) {
            ASSERT_EQ(tree.regCloseKey(open.front()), kRegSuccess);
            open.erase(open.begin());
        }
    }
    std::sort(open.begin(), open.end());
    EXPECT_EQ(std::adjacent_find(open.begin(), open.end()), open.end());
    EXPECT_EQ(tree.openHandleCount(), open.size());
}

}  // namespace
