#include "probes/ProcessorIdentity.h"

#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"

namespace zelvo {
namespace {

using namespace platform;

constexpr const char* kCpuKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

struct Family {
    const char* name;
    SimMachine (*make)();
    const char* nameValue;
};
const Family kFamilies[] = {{"9x", makeWin9xMachine, "Identifier"}, {"NT", makeNtMachine, "ProcessorNameString"}};

ProcessorIdentity Read(SimMachine& machine) {
    SimPlatform platform(machine);
    RegistryLocations locations;
    DetectPlatform(platform.identity(), locations);
    return ReadProcessorIdentity(platform.registry(), platform.text(), locations);
}

TEST(ProcessorIdentity, ReadsNameAndVendorOnBothFamilies) {
    for (const Family& family : kFamilies) {
        SCOPED_TRACE(family.name);
        SimMachine machine = family.make();
        machine.registry.setValue(kHKeyLocalMachine, kCpuKey, family.nameValue, regSz("ＣＰＵ名 X"));
        machine.registry.setValue(kHKeyLocalMachine, kCpuKey, "VendorIdentifier", regSz("GenuineIntel"));
        const ProcessorIdentity identity = Read(machine);
        EXPECT_EQ(identity.name, "ＣＰＵ名 X");
        EXPECT_EQ(identity.vendor, "GenuineIntel");
        EXPECT_EQ(machine.registry.openHandleCount(), 0u) << "every opened key is closed";
    }
}

TEST(ProcessorIdentity, ValuesThatDoNotFitTheBufferReadAsEmpty) {
    // 254 bytes of text and its zero fill the 255-byte buffer exactly; one more byte does not fit.
    const struct {
        std::string text;
        std::string shown;
    } rows[] = {
        {std::string(254, 'n'), std::string(254, 'n')},
        {std::string(255, 'n'), ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.size());
        SimMachine machine = makeNtMachine();
        machine.registry.setValue(kHKeyLocalMachine, kCpuKey, "ProcessorNameString", regSz(row.text));
        EXPECT_EQ(Read(machine).name, row.shown);
    }
    // Double-byte characters count two bytes each: 127 of them need 254 bytes and fit.
    std::string kanji;
    for (int i = 0; i < 127; ++i)
        kanji += "漢";
    SimMachine machine = makeNtMachine();
    machine.registry.setValue(kHKeyLocalMachine, kCpuKey, "ProcessorNameString", regSz(kanji));
    EXPECT_EQ(Read(machine).name, kanji);
    machine.registry.setValue(kHKeyLocalMachine, kCpuKey, "ProcessorNameString", regSz(kanji + "漢"));
    EXPECT_EQ(Read(machine).name, "");
}

TEST(ProcessorIdentity, AnyTypeIsReadUpToTheFirstZero) {
    SimMachine machine = makeNtMachine();
    machine.registry.setValue(kHKeyLocalMachine, kCpuKey, "ProcessorNameString", regBinary(std::string("ABC\0DEF", 7)));
    machine.registry.setValue(kHKeyLocalMachine, kCpuKey, "VendorIdentifier", regDword(0x00434241));
    const ProcessorIdentity identity = Read(machine);
    EXPECT_EQ(identity.name, "ABC");
    EXPECT_EQ(identity.vendor, "ABC");
}

TEST(ProcessorIdentity, MissingKeysValuesAndLocationsGiveEmptyText) {
    SimMachine missingKey = makeNtMachine();
    missingKey.registry.removeKey(kHKeyLocalMachine, kCpuKey);
    EXPECT_EQ(Read(missingKey).name, "");
    EXPECT_EQ(Read(missingKey).vendor, "");

    // A failed version query leaves every location unset.
    SimMachine noVersion = makeNtMachine();
    noVersion.version.reset();
    EXPECT_EQ(Read(noVersion).name, "");
    EXPECT_EQ(Read(noVersion).vendor, "");
    EXPECT_EQ(noVersion.registry.openHandleCount(), 0u);

    // A key that refuses all access can still be read: the identity is only read.
    SimMachine refusing = makeNtMachine();
    refusing.registry.setRefuseAllAccess(kHKeyLocalMachine, kCpuKey, true);
    EXPECT_NE(Read(refusing).vendor, "");
}

}  // namespace
}  // namespace zelvo
