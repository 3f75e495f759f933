#include "probes/LoadMonitor.h"

#include <gtest/gtest.h>

#include "format/NumberSeparators.h"
#include "platform/Errors.h"
#include "platform/sim/SimPlatform.h"

namespace zelvo {
namespace {

using namespace platform;

constexpr const char* kStatData = "PerfStats\\StatData";

RegValue LittleEndian(std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    const char bytes[4] = {char(raw & 0xFF), char((raw >> 8) & 0xFF), char((raw >> 16) & 0xFF),
                           char((raw >> 24) & 0xFF)};
    return regBinary(std::string_view(bytes, 4));
}

TEST(CpuLoadColour, BandsAtTheirEdges) {
    const struct {
        std::int32_t load;
        ColourValue colour;
    } rows[] = {
        {-3, colour::Silver}, {0, colour::Silver},   {15, colour::Silver},  {16, colour::White}, {30, colour::White},
        {31, colour::Aqua},   {45, colour::Aqua},    {46, colour::Lime},    {60, colour::Lime},  {61, colour::Yellow},
        {75, colour::Yellow}, {76, colour::Fuchsia}, {90, colour::Fuchsia}, {91, colour::Red},   {100, colour::Red},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.load);
        EXPECT_EQ(CpuLoadColour(row.load), row.colour);
    }
}

TEST(ReadCpuLoad, ReadsTheLittleEndianLoadOn9x) {
    SimMachine machine = makeWin9xMachine();
    for (const std::int32_t load : {0, 12, 57, 100, -1, 0x01020304}) {
        SCOPED_TRACE(load);
        machine.registry.setValue(kHKeyDynData, kStatData, "KERNEL\\CPUUsage", LittleEndian(load));
        SimPlatform platform(machine);
        EXPECT_EQ(ReadCpuLoad(platform.registry(), platform.text()), load);
        EXPECT_EQ(machine.registry.openHandleCount(), 0u);
    }
}

TEST(ReadCpuLoad, NothingWithoutStatistics) {
    SimPlatform nt(makeNtMachine());
    EXPECT_EQ(ReadCpuLoad(nt.registry(), nt.text()), std::nullopt);

    SimMachine missingValue = makeWin9xMachine();
    missingValue.registry.removeValue(kHKeyDynData, kStatData, "KERNEL\\CPUUsage");
    SimPlatform platform(missingValue);
    EXPECT_EQ(ReadCpuLoad(platform.registry(), platform.text()), std::nullopt);

    // Fewer than four bytes is not a load figure.
    SimMachine shortValue = makeWin9xMachine();
    shortValue.registry.setValue(kHKeyDynData, kStatData, "KERNEL\\CPUUsage", regBinary(std::string("\x05\x00", 2)));
    SimPlatform shortPlatform(shortValue);
    EXPECT_EQ(ReadCpuLoad(shortPlatform.registry(), shortPlatform.text()), std::nullopt);
}

TEST(ReadCpuLoad, WrongTypesRaiseTheTypeError) {
    const RegValue wrong[] = {regDword(40), regSz("40"), regExpandSz("40"),
                              regBinary(std::string("\x28\x00\x00\x00\x00", 5))};
    for (const RegValue& value : wrong) {
        SCOPED_TRACE(value.type);
        SimMachine machine = makeWin9xMachine();
        machine.registry.setValue(kHKeyDynData, kStatData, "KERNEL\\CPUUsage", value);
        SimPlatform platform(machine);
        try {
            ReadCpuLoad(platform.registry(), platform.text());
            FAIL() << "no error";
        } catch (const ERegistryException& error) {
            EXPECT_STREQ(error.what(), "'KERNEL\\CPUUsage' のデータ型が不正です");
        }
        EXPECT_EQ(machine.registry.openHandleCount(), 0u);
    }
}

TEST(Statistics, StartAndStopReadEveryValueOf9xAndNothingOnNt) {
    SimMachine machine = makeWin9xMachine();
    // A value of the wrong type in the start key is read too, and its error reaches the caller.
    machine.registry.setValue(kHKeyDynData, "PerfStats\\StartStat", "Broken", regSz("x"));
    SimPlatform platform(machine);
    EXPECT_THROW(StartStatistics(platform.registry(), platform.text()), ERegistryException);
    EXPECT_NO_THROW(StopStatistics(platform.registry(), platform.text()));
    EXPECT_EQ(machine.registry.openHandleCount(), 0u);

    SimPlatform nt(makeNtMachine());
    EXPECT_NO_THROW(StartStatistics(nt.registry(), nt.text()));
    EXPECT_NO_THROW(StopStatistics(nt.registry(), nt.text()));
}

class MemoryFiguresTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberSeparators({',', '.'}); }
    void TearDown() override { setNumberSeparators({',', '.'}); }
};

TEST_F(MemoryFiguresTest, TextsPercentAndBand) {
    constexpr std::uint64_t MB = 1048576;
    const struct {
        std::uint64_t total, avail;
        const char *totalText, *usedText, *freeText;
        int percent;
        ColourValue colour;
    } rows[] = {
        {512 * MB, 256 * MB, "512 MB", "256 MB", "256 MB", 50, colour::White},
        {100 * MB, 20 * MB, "100 MB", "80 MB", "20 MB", 80, colour::Aqua},
        {100 * MB, 19 * MB, "100 MB", "81 MB", "19 MB", 81, colour::Fuchsia},
        // 29 of 100 used must not turn into 28 % through a rounded quotient.
        {100 * MB, 71 * MB, "100 MB", "29 MB", "71 MB", 29, colour::White},
        // More memory than a 32-bit count holds: the figures are the 64-bit ones.
        {64ull * 1024 * MB, 16ull * 1024 * MB, "65,536 MB", "49,152 MB", "16,384 MB", 75, colour::Aqua},
        {1536 * MB + MB / 2, 0, "1,536.5 MB", "1,536.5 MB", "0 MB", 100, colour::Fuchsia},
        // Counts of 2^63 bytes and more (a broken /proc) stay unsigned: no overflow, no negative share.
        {std::uint64_t{1} << 63, std::uint64_t{1} << 62, "8,796,093,022,208 MB", "4,398,046,511,104 MB",
         "4,398,046,511,104 MB", 50, colour::White},
        {~std::uint64_t{0}, 0, "17,592,186,044,416 MB", "17,592,186,044,416 MB", "0 MB", 100, colour::Fuchsia},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.totalText);
        SimMachine machine = makeNtMachine();
        machine.memory.totalPhys = row.total;
        machine.memory.availPhys = row.avail;
        SimPlatform platform(machine);
        const UsageFigures figures = ComputeMemoryFigures(platform.memory().globalMemoryStatus());
        EXPECT_EQ(figures.totalText, row.totalText);
        EXPECT_EQ(figures.usedText, row.usedText);
        EXPECT_EQ(figures.freeText, row.freeText);
        EXPECT_EQ(figures.percentage, row.percent);
        EXPECT_EQ(figures.percentageText, std::to_string(row.percent) + " %");
        EXPECT_EQ(figures.percentageColour, row.colour);
    }
}

TEST_F(MemoryFiguresTest, NoMemoryIsAnInvalidOperation) {
    SimMachine machine = makeNtMachine();
    machine.memory.totalPhys = 0;
    machine.memory.availPhys = 0;
    SimPlatform platform(machine);
    EXPECT_THROW(ComputeMemoryFigures(platform.memory().globalMemoryStatus()), EInvalidOp);
}

}  // namespace
}  // namespace zelvo
