#include "probes/DisplayInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

// The labels spelled out byte by byte: three ASCII spaces, the label, then two ASCII spaces; the
// colour-count label has three ideographic spaces (U+3000) before its two ASCII spaces.
const std::string kNumberLabel = "   \xE3\x83\xA2\xE3\x83\xBC\xE3\x83\x89\xE7\x95\xAA\xE5\x8F\xB7  ";  // モード番号
const std::string kSizeLabel = "   \xE7\x94\xBB\xE9\x9D\xA2\xE3\x82\xB5\xE3\x82\xA4\xE3\x82\xBA  ";  // 画面サイズ
const std::string kColoursLabel =
    "   \xE8\x89\xB2\xE6\x95\xB0\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80  ";  // 色数 + 3 × U+3000
const std::string kDepthLabel = "   \xE8\x89\xB2\xE3\x83\x93\xE3\x83\x83\xE3\x83\x88\xE6\x95\xB0  ";  // 色ビット数
const std::string kColourUnit = " \xE8\x89\xB2";                                                      // " 色"

std::vector<std::string> block(const std::string& number, const std::string& size, const std::string& colours,
                               const std::string& depth) {
    return {"",
            kNumberLabel + number,
            kSizeLabel + size,
            kColoursLabel + colours + kColourUnit,
            kDepthLabel + depth + " Bit",
            "",
            ""};
}

TEST(DisplayInfoTest, LabelsMatchTheirSpelling) {
    // Guards the byte spellings above against the readable texts.
    EXPECT_EQ(kNumberLabel, "   モード番号  ");
    EXPECT_EQ(kSizeLabel, "   画面サイズ  ");
    EXPECT_EQ(kColoursLabel, "   色数\u3000\u3000\u3000  ");
    EXPECT_EQ(kDepthLabel, "   色ビット数  ");
}

TEST(DisplayInfoTest, NoModesGiveNoLines) {
    SimMachine machine = makeNtMachine();
    machine.displayModes.clear();
    SimPlatform platform(machine);
    EXPECT_TRUE(DisplayPageLines(platform.display()).empty());
}

TEST(DisplayInfoTest, OneBlockPerModeInOrder) {
    SimMachine machine;
    machine.displayModes = {
        {640, 480, 8, 60}, {800, 600, 16, 75}, {1024, 768, 24, 85}, {1280, 1024, 32, 60}, {1920, 1080, 32, 144},
    };
    SimPlatform platform(machine);

    std::vector<std::string> expected;
    for (const auto& part : {block("0", "640 x 480", "256", "8"), block("1", "800 x 600", "65536", "16"),
                             block("2", "1024 x 768", "16777216", "24"), block("3", "1280 x 1024", "16777216", "32"),
                             block("4", "1920 x 1080", "16777216", "32")})
        expected.insert(expected.end(), part.begin(), part.end());

    EXPECT_EQ(DisplayPageLines(platform.display()), expected);
}

TEST(DisplayInfoTest, LowDepthsCountTwoColours) {
    SimMachine machine;
    machine.displayModes = {{320, 200, 0, 0}, {320, 200, 1, 0}, {320, 200, 4, 0}};
    SimPlatform platform(machine);

    std::vector<std::string> expected;
    for (const auto& part :
         {block("0", "320 x 200", "2", "0"), block("1", "320 x 200", "2", "1"), block("2", "320 x 200", "16", "4")})
        expected.insert(expected.end(), part.begin(), part.end());

    EXPECT_EQ(DisplayPageLines(platform.display()), expected);
}

TEST(DisplayInfoTest, ColourCount) {
    const struct {
        std::uint32_t depth;
        std::int32_t colours;
    } rows[] = {
        {0, 2},      {1, 2},        {2, 4},         {4, 16},        {8, 256},       {15, 32768},
        {16, 65536}, {23, 8388608}, {24, 16777216}, {25, 16777216}, {32, 16777216}, {0xFFFFFFFFu, 16777216},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.depth);
        EXPECT_EQ(DisplayColourCount(row.depth), row.colours);
    }
}

// A display whose enumeration answers again after a refused index: the page stops at the first
// refusal.
class GappedDisplay : public SimPlatform {
public:
    using SimPlatform::SimPlatform;
    std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const override {
        ++calls;
        if (index == 1)
            return std::nullopt;
        return SimPlatform::enumDisplaySettings(index);
    }
    mutable int calls = 0;
};

TEST(DisplayInfoTest, EnumerationStopsAtTheFirstRefusedIndex) {
    SimMachine machine;
    machine.displayModes = {{640, 480, 8, 60}, {800, 600, 16, 60}, {1024, 768, 32, 60}};
    GappedDisplay platform(machine);

    EXPECT_EQ(DisplayPageLines(platform.display()), block("0", "640 x 480", "256", "8"));
    EXPECT_EQ(platform.calls, 2);
}

TEST(DisplayInfoTest, NtProfileListsAllItsModes) {
    SimPlatform platform(makeNtMachine());
    const auto lines = DisplayPageLines(platform.display());
    ASSERT_EQ(lines.size(), 10u * 7u);
    EXPECT_EQ(lines[7 * 9 + 1], kNumberLabel + "9");
    EXPECT_EQ(lines[7 * 9 + 2], kSizeLabel + "1280 x 1024");
}

}  // namespace
