#include "platform/RegistryWrapper.h"
#include "support/RegistryTap.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

// Every key of the fixture holds a value "Id" naming its own path, so a test can tell which key
// the wrapper stands on.
SimMachine fixtureMachine() {
    SimMachine m;
    for (const char* path : {"A", "A\\B", "A\\B\\C", "B", "Locked"})
        m.registry.setValue(kHKeyLocalMachine, path, "Id", regSz(path));
    m.registry.setRefuseAllAccess(kHKeyLocalMachine, "Locked", true);

    const char* values = "Values";
    m.registry.setValue(kHKeyLocalMachine, values, "Zeta", regBinary("\x01\x02\x03\x04"));
    m.registry.setValue(kHKeyLocalMachine, values, "Alpha", regSz("text"));
    m.registry.setValue(kHKeyLocalMachine, values, "Mid", regDword(5));
    m.registry.setValue(kHKeyLocalMachine, values, "Bin5", regBinary("\x01\x02\x03\x04\x05"));
    m.registry.setValue(kHKeyLocalMachine, values, "Expand", regExpandSz("%SystemRoot%\\x"));
    m.registry.setValue(kHKeyLocalMachine, values, "Multi", regMultiSz({"one", "two"}));
    m.registry.setValue(kHKeyLocalMachine, values, "Empty", regBinary(""));
    m.registry.setValue(kHKeyLocalMachine, values, "EmptySz", regBinary("", kRegSz));
    m.registry.setValue(kHKeyLocalMachine, values, "Qword", regBinary(std::string(8, '\x11'), kRegQword));
    m.registry.setValue(kHKeyLocalMachine, values, "Raw", regBinary("\x41\x42", kRegNone));
    m.registry.setValue(kHKeyLocalMachine, values, "Embedded", regBinary(std::string("ab\0cd\0", 6), kRegSz));
    m.registry.setValue(kHKeyLocalMachine, values, "Unterminated", regBinary("abc", kRegSz));
    m.registry.setValue(kHKeyLocalMachine, values, "Kanji", regSz("山田 太郎"));
    m.registry.setValue(kHKeyLocalMachine, values, cp932::fromUtf8("値ア"), regDword(1));
    return m;
}

class RegistryWrapperTest : public ::testing::Test {
protected:
    SimMachine machine = fixtureMachine();
    SimPlatform platform{machine};

    std::size_t openHandles() const { return machine.registry.openHandleCount(); }
};

struct OpenStep {
    const char* path;
    bool canCreate;
    bool result;
    const char* standsOn;  // the Id of the current key afterwards; "" = a key without one
};

TEST_F(RegistryWrapperTest, OpenKeyPathRules) {
    const OpenStep steps[] = {
        {"A", false, true, "A"},                  // no current key: relative to the root
        {"B", false, true, "A\\B"},               // relative to the current key
        {"\\B", false, true, "B"},                // leading backslash: from the root
        {"Missing", false, false, "B"},           // failure keeps the current key
        {"\\A\\Missing", false, false, "B"},      //
        {"\\A\\B\\C\\", false, true, "A\\B\\C"},  // trailing backslash
        {"\\Locked", false, false, "A\\B\\C"},    // all access refused
        {"", false, true, "A\\B\\C"},             // the current key again
        {"\\New\\Made", true, true, ""},          // created
        {"\\A", true, true, "A"},                 // creating an existing key opens it
        {"\\A\\\\B", false, false, "A"},          // malformed path
    };
    RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
    EXPECT_FALSE(reg.hasCurrentKey());
    for (const OpenStep& s : steps) {
        SCOPED_TRACE(s.path);
        EXPECT_EQ(reg.OpenKey(s.path, s.canCreate), s.result);
        EXPECT_TRUE(reg.hasCurrentKey());
        EXPECT_EQ(reg.ReadString("Id"), s.standsOn);
        // The previous key is closed when a new one opens: one handle at a time.
        EXPECT_EQ(openHandles(), 1u);
    }
    EXPECT_TRUE(machine.registry.hasKey(kHKeyLocalMachine, "New\\Made"));
    reg.CloseKey();
    EXPECT_FALSE(reg.hasCurrentKey());
    EXPECT_EQ(openHandles(), 0u);
}

TEST_F(RegistryWrapperTest, AccessRightsComeFromTheConstructor) {
    RegistryWrapper reader(platform.registry(), platform.text(), kHKeyLocalMachine, RegAccess::Read);
    EXPECT_TRUE(reader.OpenKey("\\Locked", false));
    EXPECT_EQ(reader.ReadString("Id"), "Locked");
    RegistryWrapper writer(platform.registry(), platform.text(), kHKeyLocalMachine);
    EXPECT_FALSE(writer.OpenKey("\\Locked", false));
    EXPECT_FALSE(writer.hasCurrentKey());
}

TEST_F(RegistryWrapperTest, AnAbsentRootOpensNothing) {
    machine.registry.setValue(kHKeyDynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", regBinary("\x05\0\0\0"));
    machine.registry.setRootPresent(kHKeyDynData, false);
    RegistryWrapper reg(platform.registry(), platform.text(), kHKeyDynData);
    EXPECT_FALSE(reg.OpenKey("\\PerfStats\\StatData", false));
    EXPECT_TRUE(reg.GetValueNames().empty());
    int load = -1;
    EXPECT_EQ(reg.ReadBinaryData("KERNEL\\CPUUsage", &load, 4), 0);
    EXPECT_EQ(load, -1);
}

TEST_F(RegistryWrapperTest, ReleasingTheWrapperClosesItsKey) {
    {
        RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey("\\A\\B", false));
        EXPECT_EQ(openHandles(), 1u);
    }
    EXPECT_EQ(openHandles(), 0u);
    {
        RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey("\\Values", false));
        EXPECT_THROW(reg.ReadString("Mid"), ERegistryException);
    }
    EXPECT_EQ(openHandles(), 0u);
}

TEST_F(RegistryWrapperTest, ValueNamesInEnumerationOrder) {
    RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
    EXPECT_TRUE(reg.GetValueNames().empty());
    ASSERT_TRUE(reg.OpenKey("\\Values", false));
    const auto names = reg.GetValueNames();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "Zeta");
    EXPECT_EQ(names[1], "Alpha");
    EXPECT_EQ(names[2], "Mid");
    EXPECT_EQ(names.back(), cp932::fromUtf8("値ア"));
    ASSERT_TRUE(reg.OpenKey("\\B", false));
    EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{"Id"});
}

std::string typeError(const std::string& name) {
    return "'" + name + "' のデータ型が不正です";
}
std::string readError(const std::string& name) {
    return "'" + name + "' の取得に失敗しました";
}

struct BinaryCase {
    const char* name;  // UTF-8
    int bufferSize;
    int result;
    std::string bytes;  // what the buffer starts with afterwards
    const char* error;  // "" = none, else the UTF-8 value name the type error names
};

TEST_F(RegistryWrapperTest, BinaryReadTypeRules) {
    const BinaryCase cases[] = {
        {"Nothing", 4, 0, "\xEE\xEE\xEE\xEE", ""},
        {"Zeta", 4, 4, "\x01\x02\x03\x04", ""},
        {"Zeta", 10, 4, "\x01\x02\x03\x04\xEE", ""},
        {"Bin5", 4, 0, "\xEE\xEE\xEE\xEE", "Bin5"},
        {"Bin5", 5, 5, "\x01\x02\x03\x04\x05", ""},
        {"Alpha", 100, 0, "\xEE", "Alpha"},
        {"Expand", 100, 0, "\xEE", "Expand"},
        {"Mid", 100, 0, "\xEE", "Mid"},
        {"Multi", 100, 9, std::string("one\0two\0\0", 9), ""},
        {"Qword", 8, 8, std::string(8, '\x11'), ""},
        {"Raw", 2, 2, "AB", ""},
        {"Empty", 0, 0, "\xEE", ""},
        {"Zeta", 0, 0, "\xEE", "Zeta"},
        {"Zeta", -3, 0, "\xEE", "Zeta"},
        {"値ア", 4, 0, "\xEE", "値ア"},
    };
    RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
    ASSERT_TRUE(reg.OpenKey("\\Values", false));
    for (const BinaryCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(c.bufferSize));
        std::string buffer(16, '\xEE');
        const std::string name = cp932::fromUtf8(c.name);
        if (*c.error) {
            try {
                reg.ReadBinaryData(name, buffer.data(), c.bufferSize);
                ADD_FAILURE() << "no error";
            } catch (const ERegistryException& e) {
                EXPECT_EQ(std::string(e.what()), typeError(c.error));
            }
        } else {
            EXPECT_EQ(reg.ReadBinaryData(name, buffer.data(), c.bufferSize), c.result);
        }
        EXPECT_EQ(buffer.substr(0, c.bytes.size()), c.bytes);
    }
    // No current key: nothing read, no error.
    RegistryWrapper none(platform.registry(), platform.text(), kHKeyLocalMachine);
    std::string buffer(4, '\xEE');
    EXPECT_EQ(none.ReadBinaryData("Alpha", buffer.data(), 4), 0);
    EXPECT_EQ(buffer, std::string(4, '\xEE'));
}

struct StringCase {
    const char* name;
    std::string text;   // code-page bytes expected
    const char* error;  // "" = none
};

TEST_F(RegistryWrapperTest, StringReadRules) {
    const StringCase cases[] = {
        {"Nothing", "", ""},    {"Alpha", "text", ""},       {"Expand", "%SystemRoot%\\x", ""},
        {"EmptySz", "", ""},    {"Empty", "", ""},  // empty values give empty text whatever their type
        {"Embedded", "ab", ""}, {"Unterminated", "abc", ""}, {"Kanji", cp932::fromUtf8("山田 太郎"), ""},
        {"Mid", "", "Mid"},     {"Zeta", "", "Zeta"},        {"Multi", "", "Multi"},
        {"Qword", "", "Qword"}, {"値ア", "", "値ア"},
    };
    RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
    EXPECT_EQ(reg.ReadString("Alpha"), "");
    ASSERT_TRUE(reg.OpenKey("\\Values", false));
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = cp932::fromUtf8(c.name);
        if (*c.error) {
            try {
                reg.ReadString(name);
                ADD_FAILURE() << "no error";
            } catch (const ERegistryException& e) {
                EXPECT_EQ(std::string(e.what()), typeError(c.error));
            }
        } else {
            EXPECT_EQ(reg.ReadString(name), c.text);
        }
    }
}

// A machine whose value reads fail after the value has been found (the value changes or
// vanishes between the size query and the read).
class FailingReads : public test::RegistryTap {
public:
    using RegistryTap::RegistryTap;
    long regQueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) const override {
        if (data)
            return kRegFileNotFound;
        return RegistryTap::regQueryValue(key, name, type, data, size);
    }
};

TEST_F(RegistryWrapperTest, AReadThatFailsAfterTheValueWasFoundIsAnError) {
    FailingReads failing(platform.registry());
    RegistryWrapper reg(failing, platform.text(), kHKeyLocalMachine);
    ASSERT_TRUE(reg.OpenKey("\\Values", false));
    char buffer[16];
    const struct {
        const char* name;
        bool binary;
    } cases[] = {{"Zeta", true}, {"Multi", true}, {"Alpha", false}, {"Kanji", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            if (c.binary)
                reg.ReadBinaryData(c.name, buffer, sizeof buffer);
            else
                reg.ReadString(c.name);
            ADD_FAILURE() << "no error";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(std::string(e.what()), readError(c.name));
        }
    }
    // The type check comes first; a missing value is still no error.
    EXPECT_THROW(reg.ReadBinaryData("Alpha", buffer, sizeof buffer), ERegistryException);
    EXPECT_EQ(reg.ReadBinaryData("Nothing", buffer, sizeof buffer), 0);
    EXPECT_EQ(reg.ReadString("Nothing"), "");
}

TEST_F(RegistryWrapperTest, AValueThatGrowsBetweenSizeAndReadIsAReadError) {
    class GrowingStore : public RegValueStore {
    public:
        std::vector<std::pair<std::string, RegValue>> load() override {
            ++loads;
            return {{"Grow", regBinary(std::string(static_cast<std::size_t>(2 * loads), 'x'), kRegSz)}};
        }
        bool store(const std::string&, const RegValue&) override { return false; }
        int loads = 0;
    };
    machine.registry.setStore(kHKeyLocalMachine, "Growing", std::make_shared<GrowingStore>());
    RegistryWrapper reg(platform.registry(), platform.text(), kHKeyLocalMachine);
    ASSERT_TRUE(reg.OpenKey("\\Growing", false));
    try {
        reg.ReadString("Grow");
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(std::string(e.what()), readError("Grow"));
    }
}

}  // namespace
