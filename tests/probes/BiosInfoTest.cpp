#include "probes/BiosInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/RegistryWrapper.h"
#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"

using namespace zelvo;
using namespace zelvo::platform;
using namespace std::string_literals;

namespace {

const char* const kSystemKey = "HARDWARE\\DESCRIPTION\\System";
const char* const kDriverKey = "SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014";
const std::string kHeading = "           メインボード\u3000バイオス情報";

// An NT machine whose BIOS keys hold known values.
SimMachine ntMachine() {
    SimMachine m = makeNtMachine();
    m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion", regMultiSz({"PIECE ONE", "PIECE TWO"}));
    m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSDate", regSz("04/01/03"));
    m.registry.setValue(kHKeyLocalMachine, kDriverKey, "DriverDesc", regSz("PCI 標準 ISA ブリッジ"));
    m.registry.setValue(kHKeyLocalMachine, kDriverKey, "DriverVersion", regSz("5.1.2600.0"));
    return m;
}

const std::string kPieces = "PIECE ONE\r\nPIECE TWO\r\n";

struct NtCase {
    const char* name;
    std::function<void(SimMachine&)> change;
    std::vector<std::string> additions;
};

void PrintTo(const NtCase& c, std::ostream* os) {
    *os << c.name;
}

class BiosNtTest : public ::testing::TestWithParam<NtCase> {};

TEST_P(BiosNtTest, MemoAdditionsHeadingAndTab) {
    const NtCase& c = GetParam();
    SimMachine machine = ntMachine();
    c.change(machine);
    SimPlatform platform(machine);

    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());

    EXPECT_EQ(page.memoAdditions, c.additions);
    EXPECT_EQ(page.tabVisible, std::optional<bool>(true));
    // The heading is set however the reading ended.
    EXPECT_EQ(page.heading, std::optional<std::string>(kHeading));
    // The wrapper released its key, also when an error ended the reading.
    EXPECT_EQ(machine.registry.openHandleCount(), 0u);
}

const NtCase kNtCases[] = {
    {"TwoPiecesThenDoubleZero",
     [](SimMachine&) {},
     {"", kPieces, "04/01/03", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
    {"VersionAsBinaryWithControlBytes",
     [](SimMachine& m) {
         m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion",
                             regBinary("\x01V1\nV2\x1f\x1f"s + "\0"s, kRegBinary));
     },
     {"", "V1\r\nV2\r\n", "04/01/03", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
    {"JapanesePiece",
     [](SimMachine& m) {
         m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion", regMultiSz({"ソニー BIOS"}));
     },
     {"", "ソニー BIOS\r\n", "04/01/03", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
    {"VersionMissingGivesOneEmptyLine",
     [](SimMachine& m) { m.registry.removeValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion"); },
     {"", "", "04/01/03", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
    {"VersionOf101BytesEndsTheBranch",
     [](SimMachine& m) {
         m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion",
                             regBinary(std::string(101, 'A'), kRegMultiSz));
     },
     {""}},
    {"VersionOf100BytesHasOnlyAnOpenPiece",
     [](SimMachine& m) {
         m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion",
                             regBinary(std::string(100, 'A'), kRegMultiSz));
     },
     {"", "", "04/01/03", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
    {"VersionStoredAsStringEndsTheBranch",
     [](SimMachine& m) { m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSVersion", regSz("V1")); },
     {""}},
    {"DateOfWrongTypeEndsTheBranchAfterThePieces",
     [](SimMachine& m) { m.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSDate", regDword(20030401)); },
     {"", kPieces}},
    {"DriverVersionOfWrongTypeLeavesNoVerLine",
     [](SimMachine& m) { m.registry.setValue(kHKeyLocalMachine, kDriverKey, "DriverVersion", regDword(5)); },
     {"", kPieces, "04/01/03", "PCI 標準 ISA ブリッジ"}},
    {"MissingDriverKeyGivesEmptyDescriptionAndVerAlone",
     [](SimMachine& m) { m.registry.removeKey(kHKeyLocalMachine, kDriverKey); },
     {"", kPieces, "04/01/03", "", "Ver "}},
    {"MissingDriverKeyReadsFromTheSystemKey",
     [](SimMachine& m) {
         m.registry.removeKey(kHKeyLocalMachine, kDriverKey);
         m.registry.setValue(kHKeyLocalMachine, kSystemKey, "DriverDesc", regSz("ON THE SYSTEM KEY"));
         m.registry.setValue(kHKeyLocalMachine, kSystemKey, "DriverVersion", regSz("9.9"));
     },
     {"", kPieces, "04/01/03", "ON THE SYSTEM KEY", "Ver 9.9"}},
    {"MissingSystemKeyReadsNothing",
     [](SimMachine& m) { m.registry.removeKey(kHKeyLocalMachine, kSystemKey); },
     {"", "", "", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
    {"KeysThatRefuseOpening",
     [](SimMachine& m) {
         m.registry.setRefuseOpen(kHKeyLocalMachine, kSystemKey, true);
         m.registry.setRefuseOpen(kHKeyLocalMachine, kDriverKey, true);
     },
     {"", "", "", "", "Ver "}},
    // An ordinary user may read the hardware keys but not open them with all access.
    {"KeysThatRefuseAllAccessAreStillRead",
     [](SimMachine& m) {
         m.registry.setRefuseAllAccess(kHKeyLocalMachine, kSystemKey, true);
         m.registry.setRefuseAllAccess(kHKeyLocalMachine, kDriverKey, true);
     },
     {"", kPieces, "04/01/03", "PCI 標準 ISA ブリッジ", "Ver 5.1.2600.0"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BiosNtTest, ::testing::ValuesIn(kNtCases),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST(BiosInfoTest, NtProfileShowsItsRegistryLines) {
    SimPlatform platform(makeNtMachine());
    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());
    const std::vector<std::string> expected = {
        "",
        "KESTRL - 42302e31\r\nBIOS Date: 11/08/02 15:23:47 Ver: 08.00.02\r\n",
        "11/08/02",
        "PCI 標準 ISA ブリッジ",
        "Ver 5.0.2195.1",
    };
    EXPECT_EQ(page.memoAdditions, expected);
}

TEST(BiosInfoTest, Win9xShowsTheRomStrings) {
    SimMachine machine = makeWin9xMachine();
    machine.romMapped = true;
    machine.romStrings = {{0xFE061, "FIRST"}, {0xFE091, "SECOND"}, {0xFFFF5, "03/15/99"}, {0xFEC71, "ＩＤ ４"}};
    // Registry values are not the 9x source.
    machine.registry.setValue(kHKeyLocalMachine, kSystemKey, "SystemBIOSDate", regSz("NOT SHOWN"));
    SimPlatform platform(machine);

    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());

    const std::vector<std::string> expected = {"", "FIRST", "SECOND", "03/15/99", "ＩＤ ４"};
    EXPECT_EQ(page.memoAdditions, expected);
    EXPECT_EQ(page.tabVisible, std::optional<bool>(true));
    EXPECT_EQ(page.heading, std::optional<std::string>(kHeading));
}

TEST(BiosInfoTest, Win9xProfileReadsEachAddressInOrder) {
    SimPlatform platform(makeWin9xMachine());
    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());
    const std::vector<std::string> expected = {
        "",
        "Kestrel Modular BIOS v4.60KT, Green PC Ready",
        "Copyright (C) 1995-99, Kestrel Firmware Works, Ltd.",
        "03/15/99",
        "03/15/1999-i440BX-ZV98-2A69KZ1DC-00",
    };
    EXPECT_EQ(page.memoAdditions, expected);
}

TEST(BiosInfoTest, Win9xUnreadableRomKeepsEveryLineInPlace) {
    SimMachine machine = makeWin9xMachine();
    machine.romMapped = false;
    SimPlatform platform(machine);

    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());

    EXPECT_EQ(page.memoAdditions, std::vector<std::string>(5, ""));
    EXPECT_EQ(page.tabVisible, std::optional<bool>(true));
    EXPECT_EQ(page.heading, std::optional<std::string>(kHeading));
}

TEST(BiosInfoTest, FailedVersionQueryChangesNothing) {
    SimMachine machine = ntMachine();
    machine.version.reset();
    SimPlatform platform(machine);

    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());

    EXPECT_FALSE(page.tabVisible.has_value());
    EXPECT_TRUE(page.memoAdditions.empty());
    EXPECT_FALSE(page.heading.has_value());
}

TEST(BiosInfoTest, UnknownFamilyAddsNothingAndHidesTheTab) {
    for (const std::uint32_t id : {0u, 3u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(id);
        SimMachine machine = ntMachine();
        machine.version->platformId = id;
        machine.romMapped = true;
        SimPlatform platform(machine);

        const BiosPage page =
            FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());

        EXPECT_EQ(page.tabVisible, std::optional<bool>(false));
        EXPECT_TRUE(page.memoAdditions.empty());
        EXPECT_FALSE(page.heading.has_value());
    }
}

// --- the multi-string splitter ---

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class SplitMultiStringTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitMultiStringTest, Pieces) {
    const SplitCase& c = GetParam();
    SimMachine machine;
    machine.registry.setValue(kHKeyLocalMachine, "K", "V", regBinary(c.bytes, kRegMultiSz));
    SimPlatform platform(machine);
    RegistryWrapper registry(platform.registry(), platform.text(), kHKeyLocalMachine, RegAccess::Read);
    ASSERT_TRUE(registry.OpenKey("\\K", false));

    EXPECT_EQ(SplitMultiString(registry, "V"), c.pieces);
}

const SplitCase kSplitCases[] = {
    {"TwoStringsAndDoubleZero", "one\0two\0\0"s, {"one", "two"}},
    {"EmptyValue", ""s, {}},
    {"OnlyZeros", std::string(10, '\0'), {}},
    {"EveryControlByteEndsAPiece",
     "a\x01"
     "b\x1f"
     "c\td\ne\rf\x7f\0"s,
     {"a", "b", "c", "d", "e", "f\x7f"}},
    {"RunsOfControlBytesGiveNoEmptyPieces", "\x01\x02x\x03\x04\x05y\0"s, {"x", "y"}},
    {"SpaceAndHighBytesArePartOfAPiece", " \x80\xff \0"s, {" \x80\xff "}},
    {"PieceEndingAtByte98IsKept", std::string(98, 'A') + "\0"s, {std::string(98, 'A')}},
    {"PieceOpenAtByte99IsDropped", std::string(99, 'A'), {}},
    {"FullBufferDropsTheOpenPiece", "ab\0"s + std::string(97, 'C'), {"ab"}},
    {"TerminatorInByte100IsNotLookedAt", "ab\0"s + std::string(96, 'C') + "\0"s, {"ab"}},
    {"Exactly100Bytes", std::string(100, 'A'), {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SplitMultiStringTest, ::testing::ValuesIn(kSplitCases),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST(SplitMultiStringErrors, ValueTooLongOrOfTextTypeIsARegistryError) {
    const struct {
        RegValue value;
        bool raises;
    } rows[] = {
        {regBinary(std::string(101, 'A'), kRegMultiSz), true},
        {regBinary(std::string(101, 'A'), kRegBinary), true},
        {regSz("text"), true},
        {regExpandSz("%X%"), true},
        {regDword(1), true},
        {regBinary("ab\0"s, kRegBinary), false},
        {regBinary("ab\0"s, kRegNone), false},
        {regBinary("ab\0"s, kRegResourceList), false},
        {regBinary("ab\0\0\0\0\0\0"s, kRegQword), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value.type);
        SCOPED_TRACE(row.value.data.size());
        SimMachine machine;
        machine.registry.setValue(kHKeyLocalMachine, "K", "SystemBIOSVersion", row.value);
        SimPlatform platform(machine);
        RegistryWrapper registry(platform.registry(), platform.text(), kHKeyLocalMachine, RegAccess::Read);
        ASSERT_TRUE(registry.OpenKey("\\K", false));
        if (row.raises) {
            try {
                SplitMultiString(registry, "SystemBIOSVersion");
                ADD_FAILURE() << "no error";
            } catch (const ERegistryException& e) {
                EXPECT_STREQ(e.what(), "'SystemBIOSVersion' のデータ型が不正です");
            }
        } else {
            EXPECT_EQ(SplitMultiString(registry, "SystemBIOSVersion"), std::vector<std::string>{"ab"});
        }
    }
}

TEST(SplitMultiStringErrors, MissingValueOrNoKeyGivesNoPieces) {
    SimMachine machine;
    machine.registry.setValue(kHKeyLocalMachine, "K", "Other", regMultiSz({"x"}));
    SimPlatform platform(machine);
    RegistryWrapper registry(platform.registry(), platform.text(), kHKeyLocalMachine, RegAccess::Read);
    EXPECT_TRUE(SplitMultiString(registry, "Other").empty());  // no key open yet
    ASSERT_TRUE(registry.OpenKey("\\K", false));
    EXPECT_TRUE(SplitMultiString(registry, "Missing").empty());
}

TEST(PieceListText, EachPieceEndsWithALineBreak) {
    const struct {
        std::vector<std::string> pieces;
        std::string text;
    } rows[] = {
        {{}, ""},
        {{"a"}, "a\r\n"},
        {{"one", "two"}, "one\r\ntwo\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(PieceListText(row.pieces), row.text);
    }
}

}  // namespace
