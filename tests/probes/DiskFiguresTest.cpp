#include "probes/DiskFigures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "format/NumberSeparators.h"
#include "platform/Errors.h"
#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

constexpr std::int64_t MB = 1048576;

// A machine with one fixed drive C: of the given size; C: is also the current drive.
SimMachine machineWithC(std::int64_t totalBytes, std::int64_t freeBytes) {
    SimMachine m;
    SimDrive c;
    c.totalBytes = totalBytes;
    c.freeBytes = freeBytes;
    c.fileSystem = "NTFS";
    c.serial = 0x1A2B;
    m.setDrive('C', c);
    m.currentDirectory = "C:\\WORK";
    return m;
}

class DiskFiguresTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberSeparators({',', '.'}); }
};

TEST_F(DiskFiguresTest, DriveNumberFromTheSelectorsLetter) {
    const struct {
        char letter;
        int current;
        int number;
    } rows[] = {
        {'a', 0, 1},  {'c', 0, 3}, {'z', 7, 26}, {'m', 26, 13},
        {'\0', 0, 0},  // no drive chosen: the current drive stays
        {'\0', 4, 4},  // … and so does a drive chosen before
        {'A', 5, 5},  {'`', 5, 5}, {'{', 5, 5},  {'1', 5, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << int(row.letter) << " from " << row.current);
        EXPECT_EQ(DriveNumberFromLetter(row.letter, row.current), row.number);
    }
}

TEST_F(DiskFiguresTest, VolumeTexts) {
    SimMachine machine = machineWithC(100 * MB, 50 * MB);
    SimDrive e;
    e.serial = 0xFFFFFFFFu;
    e.fileSystem = "ＵＤＦ";
    machine.setDrive('E', e);
    SimDrive z;
    z.serial = 0;
    z.fileSystem = "FAT32";
    machine.setDrive('Z', z);
    SimDrive a;
    a.type = kDriveRemovable;
    a.mediumPresent = false;
    machine.setDrive('A', a);
    SimPlatform platform(machine);

    const struct {
        char letter;
        const char* serial;
        const char* fileSystem;
        bool read;
    } rows[] = {
        {'c', "00001A2B", "NTFS", true},
        {'e', "FFFFFFFF", "ＵＤＦ", true},
        {'z', "00000000", "FAT32", true},
        {'a', "", "", false},   // no medium
        {'q', "", "", false},   // no such drive
        {'\0', "", "", false},  // no drive chosen
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.letter));
        const VolumeTexts texts = ReadVolumeTexts(platform.drives(), platform.text(), row.letter);
        EXPECT_EQ(texts.serial, row.serial);
        EXPECT_EQ(texts.fileSystem, row.fileSystem);
        EXPECT_EQ(texts.read, row.read);
    }
}

struct FigureCase {
    const char* name;
    std::int64_t total;
    std::int64_t free;
    int percentage;
    ColourValue colour;
    const char* totalText;
    const char* usedText;
    const char* freeText;
    const char* percentageText;
};

void PrintTo(const FigureCase& c, std::ostream* os) {
    *os << c.name;
}

class DiskFigureCases : public DiskFiguresTest, public ::testing::WithParamInterface<FigureCase> {};

TEST_P(DiskFigureCases, FromTheSizeQuery) {
    const FigureCase& c = GetParam();
    SimMachine machine = machineWithC(c.total, c.free);
    SimPlatform platform(machine);

    const UsageFigures f = ReadDiskFigures(platform.drives(), 3);

    EXPECT_EQ(f.percentage, c.percentage);
    EXPECT_EQ(f.percentageColour, c.colour);
    EXPECT_EQ(f.totalText, c.totalText);
    EXPECT_EQ(f.usedText, c.usedText);
    EXPECT_EQ(f.freeText, c.freeText);
    EXPECT_EQ(f.percentageText, c.percentageText);
    EXPECT_DOUBLE_EQ(f.totalMB, double(c.total) / MB);
    EXPECT_DOUBLE_EQ(f.usedMB, double(c.total - c.free) / MB);
    EXPECT_DOUBLE_EQ(f.freeMB, double(c.free) / MB);
}

const FigureCase kFigureCases[] = {
    {"HalfFull", 1000 * MB, 500 * MB, 50, colour::White, "1,000 MB", "500 MB", "500 MB", "50 %"},
    {"FiftyOne", 100 * MB, 49 * MB, 51, colour::Aqua, "100 MB", "51 MB", "49 MB", "51 %"},
    {"Eighty", 100 * MB, 20 * MB, 80, colour::Aqua, "100 MB", "80 MB", "20 MB", "80 %"},
    {"EightyOne", 100 * MB, 19 * MB, 81, colour::Fuchsia, "100 MB", "81 MB", "19 MB", "81 %"},
    {"NinetyNinePointNine", 1000 * MB, 1 * MB, 99, colour::Fuchsia, "1,000 MB", "999 MB", "1 MB", "99 %"},
    {"TwentyNineIsNotTwentyEight", 100 * MB, 71 * MB, 29, colour::White, "100 MB", "29 MB", "71 MB", "29 %"},
    {"Empty", 10 * MB, 10 * MB, 0, colour::White, "10 MB", "0 MB", "10 MB", "0 %"},
    {"Full", 10 * MB, 0, 100, colour::Fuchsia, "10 MB", "10 MB", "0 MB", "100 %"},
    {"OneGigabyte", 1024 * MB, 1024 * MB, 0, colour::White, "1 GB", "0 MB", "1 GB", "0 %"},
    {"OneAndAHalfGigabytes", 1536 * MB, 512 * MB, 66, colour::Aqua, "1.5 GB", "1 GB", "512 MB", "66 %"},
    {"JustBelowOneGigabyte", 1024 * MB - 1, 1023 * MB, 0, colour::White, "1,024 MB", "1 MB", "1,023 MB", "0 %"},
    {"Fractions", 1536 * MB + MB / 2, 1000 * MB + MB / 2, 34, colour::White, "1.5 GB", "536 MB", "1,000.5 MB", "34 %"},
    {"Large", 40015953920, 18253611008, 54, colour::Aqua, "37.27 GB", "20.27 GB", "17 GB", "54 %"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DiskFigureCases, ::testing::ValuesIn(kFigureCases),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST_F(DiskFiguresTest, UnreadableDriveShowsZeros) {
    SimMachine machine = machineWithC(100 * MB, 50 * MB);
    SimDrive a;
    a.type = kDriveRemovable;
    a.mediumPresent = false;
    a.totalBytes = 1440 * 1024;
    machine.setDrive('A', a);
    SimPlatform platform(machine);

    for (const int number : {1, 2, 26}) {  // no medium, no such drive
        SCOPED_TRACE(number);
        const DriveBytes bytes = QueryDriveBytes(platform.drives(), number);
        EXPECT_EQ(bytes.size, -1);
        EXPECT_EQ(bytes.free, -1);
        const UsageFigures f = ReadDiskFigures(platform.drives(), number);
        EXPECT_EQ(f.percentage, 0);
        EXPECT_EQ(f.percentageColour, colour::White);
        EXPECT_EQ(f.totalText, "0 MB");
        EXPECT_EQ(f.usedText, "0 MB");
        EXPECT_EQ(f.freeText, "0 MB");
        EXPECT_EQ(f.percentageText, "0 %");
    }
}

TEST_F(DiskFiguresTest, QueriesRunWithCriticalErrorsFailed) {
    SimMachine machine = machineWithC(100 * MB, 50 * MB);
    SimDrive a;
    a.type = kDriveRemovable;
    a.mediumPresent = false;
    machine.setDrive('A', a);
    machine.errorMode = 0x8000;
    SimPlatform platform(machine);

    ReadDiskFigures(platform.drives(), 1);
    ReadVolumeTexts(platform.drives(), platform.text(), 'a');
    machine.hasDiskFreeSpaceEx = false;
    ReadDiskFigures(platform.drives(), 1);

    EXPECT_EQ(machine.criticalErrorPrompts, 0);
    EXPECT_EQ(machine.errorMode, 0x8000u);  // restored
}

TEST_F(DiskFiguresTest, ZeroByteDriveRaisesInvalidOperation) {
    SimMachine machine = machineWithC(0, 0);
    SimPlatform platform(machine);
    try {
        ReadDiskFigures(platform.drives(), 3);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOp& e) {
        EXPECT_STREQ(e.what(), "不正な浮動小数点数演算命令");
    }
    EXPECT_THROW(ComputeDiskFigures({0, 5}), EZeroDivide);
}

TEST_F(DiskFiguresTest, DriveNumberZeroIsTheCurrentDrive) {
    SimMachine machine = machineWithC(1000 * MB, 500 * MB);
    SimDrive d;
    d.totalBytes = 2048 * MB;
    d.freeBytes = 2048 * MB;
    machine.setDrive('D', d);
    SimPlatform platform(machine);

    EXPECT_EQ(ReadDiskFigures(platform.drives(), 0).totalText, "1,000 MB");
    machine.currentDirectory = "D:\\";
    EXPECT_EQ(ReadDiskFigures(platform.drives(), 0).totalText, "2 GB");
}

TEST_F(DiskFiguresTest, NoDriveChosenKeepsThePreviousDrivesFigures) {
    SimMachine machine = machineWithC(1000 * MB, 500 * MB);
    SimDrive d;
    d.totalBytes = 2048 * MB;
    d.freeBytes = 512 * MB;
    machine.setDrive('D', d);
    SimPlatform platform(machine);

    int number = 0;
    number = DriveNumberFromLetter('d', number);
    const UsageFigures chosen = ReadDiskFigures(platform.drives(), number);
    number = DriveNumberFromLetter('\0', number);
    const UsageFigures again = ReadDiskFigures(platform.drives(), number);

    EXPECT_EQ(number, 4);
    EXPECT_EQ(again.totalText, "2 GB");
    EXPECT_EQ(again.percentageText, chosen.percentageText);
    EXPECT_FALSE(ReadVolumeTexts(platform.drives(), platform.text(), '\0').read);
}

TEST_F(DiskFiguresTest, ClusterCountsWhereTheByteQueryIsMissing) {
    SimMachine machine = machineWithC(1536 * MB, 512 * MB);
    machine.hasDiskFreeSpaceEx = false;
    machine.drive('C')->bytesPerSector = 512;
    machine.drive('C')->sectorsPerCluster = 64;
    // 4 KiB clusters; the free space is not a whole number of them and is rounded down.
    SimDrive d;
    d.totalBytes = 100 * MB;
    d.freeBytes = 50 * MB + 4095;
    d.bytesPerSector = 4096;
    d.sectorsPerCluster = 1;
    machine.setDrive('D', d);
    SimPlatform platform(machine);

    const DriveBytes c = QueryDriveBytes(platform.drives(), 3);
    EXPECT_EQ(c.size, 1536 * MB);
    EXPECT_EQ(c.free, 512 * MB);
    const UsageFigures f = ReadDiskFigures(platform.drives(), 3);
    EXPECT_EQ(f.totalText, "1.5 GB");
    EXPECT_EQ(f.usedText, "1 GB");
    EXPECT_EQ(f.freeText, "512 MB");
    EXPECT_EQ(f.percentageText, "66 %");

    const DriveBytes dBytes = QueryDriveBytes(platform.drives(), 4);
    EXPECT_EQ(dBytes.size, 100 * MB);
    EXPECT_EQ(dBytes.free, 50 * MB);
}

// Answers the size queries with fixed records and counts them.
class FixedSpace : public SimPlatform {
public:
    using SimPlatform::SimPlatform;
    std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const override {
        ++exCalls;
        lastRoot = root;
        return space;
    }
    std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const override {
        ++clusterCalls;
        lastRoot = root;
        return clusters;
    }
    std::optional<DiskSpace> space;
    std::optional<DiskClusters> clusters;
    mutable int exCalls = 0;
    mutable int clusterCalls = 0;
    mutable std::string lastRoot;
};

TEST_F(DiskFiguresTest, FreeSpaceIsWhatTheUserMayUse) {
    SimMachine machine;
    FixedSpace platform(machine);
    // Quota or reserved blocks: less is available to the user than is free on the drive.
    platform.space = DiskSpace{1000 * MB, 100 * MB, 300 * MB};

    const UsageFigures f = ReadDiskFigures(platform.drives(), 3);

    EXPECT_EQ(f.freeText, "100 MB");
    EXPECT_EQ(f.usedText, "900 MB");
    EXPECT_EQ(f.percentage, 90);
    // One reading of the drive gives all the figures.
    EXPECT_EQ(platform.exCalls, 1);
    EXPECT_EQ(platform.clusterCalls, 0);
}

TEST_F(DiskFiguresTest, RootPathOfTheDriveNumber) {
    SimMachine machine;
    FixedSpace platform(machine);
    platform.space = DiskSpace{MB, MB, MB};
    const struct {
        int number;
        const char* root;
    } rows[] = {{0, ""}, {1, "A:\\"}, {3, "C:\\"}, {26, "Z:\\"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        QueryDriveBytes(platform.drives(), row.number);
        EXPECT_EQ(platform.lastRoot, row.root);
    }
    machine.hasDiskFreeSpaceEx = false;
    platform.clusters = DiskClusters{1, 512, 1, 2};
    QueryDriveBytes(platform.drives(), 5);
    EXPECT_EQ(platform.lastRoot, "E:\\");
    EXPECT_EQ(platform.clusterCalls, 1);
}

TEST_F(DiskFiguresTest, ClusterCountsThatOverflowCountAsUnreadable) {
    SimMachine machine;
    machine.hasDiskFreeSpaceEx = false;
    FixedSpace platform(machine);
    platform.clusters = DiskClusters{0xFFFFFFFFu, 0xFFFFFFFFu, 1, 0xFFFFFFFFu};

    const DriveBytes bytes = QueryDriveBytes(platform.drives(), 3);

    EXPECT_EQ(bytes.size, -1);
    EXPECT_EQ(bytes.free, -1);
}

TEST_F(DiskFiguresTest, SizeTextChoosesItsUnitPerFigure) {
    const struct {
        double megabytes;
        const char* text;
    } rows[] = {
        {0, "0 MB"},    {-1.0 / MB, "0 MB"}, {0.5, "0.5 MB"},  {1000, "1,000 MB"},        {1023.99, "1,023.99 MB"},
        {1024, "1 GB"}, {1536, "1.5 GB"},    {2047.5, "2 GB"}, {1024 * 1024, "1,024 GB"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.megabytes);
        EXPECT_EQ(SizeText(row.megabytes), row.text);
    }
}

}  // namespace
