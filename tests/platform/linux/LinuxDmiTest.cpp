// BIOS identification from DMI attribute files and device-tree models.

#include <gtest/gtest.h>

#include "platform/linux/Dmi.h"

namespace zelvo::platform {
namespace {

using Opt = std::optional<std::string>;

TEST(LinuxDmi, RecognisesPlaceholders) {
    const struct {
        const char* value;
        bool placeholder;
    } cases[] = {
        {"To be filled by O.E.M.\n", true},
        {"TO BE FILLED BY O.E.M.", true},
        {"To Be Filled By O.E.M", true},
        {"Default string", true},
        {"Not Specified", true},
        {"System Product Name", true},
        {"0123456789", true},
        {"", true},
        {"   \n", true},
        {"\t", true},
        {"American Megatrends Inc.", false},
        {"1.80", false},
        {"0123456789A", false},
        {"Default string 2", false},
        {"LENOVO", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(isDmiPlaceholder(c.value), c.placeholder);
    }
}

TEST(LinuxDmi, BuildsTheBiosValues) {
    struct Case {
        const char* label;
        Opt vendor, version, release, date, model;
        std::vector<std::string> pieces;
        Opt biosDate;
    };
    const Case cases[] = {
        {"all pieces",
         "American Megatrends Inc.\n",
         "2803\n",
         "5.13\n",
         "04/27/2022\n",
         std::nullopt,
         {"American Megatrends Inc.", "2803", "5.13"},
         "04/27/2022"},
        {"no release file (kernels before 5.x)",
         "SeaBIOS\n",
         "1.7.5-20140531_083030-gandalf\n",
         std::nullopt,
         "04/01/2014\n",
         std::nullopt,
         {"SeaBIOS", "1.7.5-20140531_083030-gandalf"},
         "04/01/2014"},
        {"placeholders dropped",
         "To be filled by O.E.M.\n",
         "F.21\n",
         "Default string\n",
         " \n",
         std::nullopt,
         {"F.21"},
         std::nullopt},
        {"DMI wins over the device tree",
         "U-Boot\n",
         "2023.04\n",
         std::nullopt,
         "04/01/2023\n",
         "Pine64 RockPro64 v2.1",
         {"U-Boot", "2023.04"},
         "04/01/2023"},
        {"no DMI: the board model",
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         "Raspberry Pi 4 Model B Rev 1.4",
         {"Raspberry Pi 4 Model B Rev 1.4"},
         std::nullopt},
        {"nothing at all", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}, std::nullopt},
        {"only placeholders and a blank model",
         "Not Specified",
         "Not Specified",
         std::nullopt,
         "",
         "  ",
         {},
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const BiosIdentity bios = biosIdentity(c.vendor, c.version, c.release, c.date, c.model);
        EXPECT_EQ(bios.versionPieces, c.pieces);
        EXPECT_EQ(bios.date, c.biosDate);
    }
}

TEST(LinuxDmi, ReadsDeviceTreeModels) {
    EXPECT_EQ(deviceTreeModel(std::string("Raspberry Pi 4 Model B Rev 1.4\0", 31)), "Raspberry Pi 4 Model B Rev 1.4");
    EXPECT_EQ(deviceTreeModel(std::string("Model\0trailing junk\0", 20)), "Model");
    EXPECT_EQ(deviceTreeModel(std::string("\0", 1)), std::nullopt);
    EXPECT_EQ(deviceTreeModel(std::nullopt), std::nullopt);
}

TEST(LinuxDmi, APieceEndsAtANul) {
    // Else the NUL would split the piece in two lines of the BIOS page.
    EXPECT_EQ(dmiValue(std::string("ALASKA\0junk", 11)), "ALASKA");
    EXPECT_EQ(dmiValue(std::string("\0ALASKA", 7)), std::nullopt);
    const BiosIdentity bios = biosIdentity(std::string("*\xd6\0"
                                                       "0",
                                                       4),
                                           std::nullopt, std::nullopt, std::string("01/02/2024\0x", 12), std::nullopt);
    EXPECT_EQ(bios.versionPieces, std::vector<std::string>{"*\xd6"});
    EXPECT_EQ(bios.date, "01/02/2024");
}

TEST(LinuxDmi, MultiStringEndsEveryPieceAndTheList) {
    EXPECT_EQ(multiString({"ALASKA - 1072009", "1.80"}), std::string("ALASKA - 1072009\0"
                                                                     "1.80\0\0",
                                                                     23));
    EXPECT_EQ(multiString({"x"}), std::string("x\0\0", 3));
    EXPECT_EQ(multiString({}), std::string("\0", 1));
}

}  // namespace
}  // namespace zelvo::platform
