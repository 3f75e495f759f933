#include "ui/TDriveComboBox.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QSet>
#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"
#include "ui/ColourConvert.h"

namespace zelvo {
namespace {

using platform::SimDrive;
using platform::SimMachine;
using platform::SimPlatform;

SimDrive makeDrive(std::uint32_t type, std::string label = {}, bool medium = true, std::string remote = {}) {
    SimDrive drive;
    drive.type = type;
    drive.label = std::move(label);
    drive.mediumPresent = medium;
    drive.remoteName = std::move(remote);
    return drive;
}

// A floppy drive, the system disk, an empty CD-ROM drive and a connected network share.
SimMachine standardMachine() {
    SimMachine machine;
    machine.setDrive('A', makeDrive(platform::kDriveRemovable, "", false));
    machine.setDrive('C', makeDrive(platform::kDriveFixed, "SYSTEM"));
    machine.setDrive('D', makeDrive(platform::kDriveCdrom, "AUDIO", false));
    machine.setDrive('Z', makeDrive(platform::kDriveRemote, "NAS", true, "\\\\SRV\\DATA"));
    machine.currentDirectory = "C:\\WORK";
    return machine;
}

std::vector<std::string> rowTexts(const TDriveComboBox& combo) {
    std::vector<std::string> texts;
    for (const auto& row : combo.rows())
        texts.push_back(row.displayText.toStdString());
    return texts;
}

std::vector<DriveGlyph> rowGlyphs(const TDriveComboBox& combo) {
    std::vector<DriveGlyph> glyphs;
    for (const auto& row : combo.rows())
        glyphs.push_back(row.glyph);
    return glyphs;
}

// Where `needle` appears pixel for pixel inside `haystack`.
bool containsImage(const QImage& haystack, const QImage& needle) {
    const QImage hay = haystack.convertToFormat(QImage::Format_RGB32);
    const QImage pin = needle.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + pin.height() <= hay.height(); ++y)
        for (int x = 0; x + pin.width() <= hay.width(); ++x) {
            bool match = true;
            for (int py = 0; match && py < pin.height(); ++py)
                for (int px = 0; match && px < pin.width(); ++px)
                    match = hay.pixel(x + px, y + py) == pin.pixel(px, py);
            if (match)
                return true;
        }
    return false;
}

class DriveComboBoxTest : public ::testing::Test {
protected:
    // The control, with OnChange recording DriveLetter at each notification and OnClick
    // recording the letter before the pick takes effect.
    std::unique_ptr<TDriveComboBox> makeCombo(platform::Platform& source) {
        auto combo = std::make_unique<TDriveComboBox>(DriveRowsOf(source.drives(), source.text()));
        TDriveComboBox* raw = combo.get();
        combo->OnChange = [this, raw](QObject* sender) {
            EXPECT_EQ(sender, raw);
            changes.push_back(raw->DriveLetter());
            log.push_back(std::string("change:") + raw->DriveLetter());
        };
        combo->OnClick = [this, raw](QObject* sender) {
            EXPECT_EQ(sender, raw);
            log.push_back(std::string("click:") + raw->DriveLetter());
        };
        return combo;
    }
    std::unique_ptr<TDriveComboBox> makeCombo() { return makeCombo(platform); }

    // Picks a row the way a user does from the open list: highlight it and press Enter.
    static void pickRow(TDriveComboBox& combo, int row) {
        combo.showPopup();
        ASSERT_TRUE(combo.view()->isVisible());
        combo.view()->setCurrentIndex(combo.model()->index(row, 0));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(combo.view(), &enter);
        EXPECT_FALSE(combo.view()->isVisible());
    }

    SimMachine machine = standardMachine();
    SimPlatform platform{machine};
    std::vector<char> changes;
    std::vector<std::string> log;
};

// --- rows ---

struct CaseRows {
    const char* name;
    TTextCase textCase;
    std::vector<std::string> texts;
    char letter;
};

class DriveComboBoxRows : public DriveComboBoxTest, public ::testing::WithParamInterface<CaseRows> {};

TEST_P(DriveComboBoxRows, FollowTextCase) {
    const CaseRows& c = GetParam();
    auto combo = makeCombo();
    if (c.textCase != tcLowerCase)
        combo->setTextCase(c.textCase);
    combo->show();
    EXPECT_EQ(rowTexts(*combo), c.texts);
    EXPECT_EQ(rowGlyphs(*combo),
              (std::vector<DriveGlyph>{DriveGlyph::Floppy, DriveGlyph::Hard, DriveGlyph::Cdrom, DriveGlyph::Network}));
    ASSERT_EQ(combo->count(), int(c.texts.size()));
    for (int i = 0; i < combo->count(); ++i)
        EXPECT_EQ(combo->itemText(i).toStdString(), c.texts[std::size_t(i)]);
    EXPECT_EQ(combo->DriveLetter(), c.letter);
    EXPECT_EQ(combo->currentIndex(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveComboBoxRows,
    ::testing::Values(CaseRows{"lower", tcLowerCase, {"a:", "c: [system]", "d: []", "z: \\\\srv\\data"}, 'c'},
                      CaseRows{"upper", tcUpperCase, {"A:", "C: [SYSTEM]", "D: []", "Z: \\\\SRV\\DATA"}, 'C'}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

struct DriveRowCase {
    const char* name;
    SimDrive drive;
    std::optional<std::string> text;  // nullopt: no row
    DriveGlyph glyph;
};

class DriveComboBoxDriveTypes : public DriveComboBoxTest, public ::testing::WithParamInterface<DriveRowCase> {};

TEST_P(DriveComboBoxDriveTypes, RowOfEachType) {
    const DriveRowCase& c = GetParam();
    machine.drives = {};
    machine.setDrive('C', c.drive);
    auto combo = makeCombo();
    combo->show();
    if (!c.text) {
        EXPECT_TRUE(combo->rows().empty());
        EXPECT_EQ(combo->currentIndex(), -1);
        return;
    }
    ASSERT_EQ(combo->rows().size(), 1u);
    EXPECT_EQ(rowTexts(*combo)[0], *c.text);
    EXPECT_EQ(combo->rows()[0].glyph, c.glyph);
}

const std::string kLongShare = "\\\\SRV\\" + std::string(300, 'X');

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveComboBoxDriveTypes,
    ::testing::Values(
        DriveRowCase{"removable_reads_no_label", makeDrive(platform::kDriveRemovable, "FLOPPY"),
                     "c:", DriveGlyph::Floppy},
        DriveRowCase{"fixed", makeDrive(platform::kDriveFixed, "Data Disk"), "c: [data disk]", DriveGlyph::Hard},
        DriveRowCase{"fixed_unreadable", makeDrive(platform::kDriveFixed, "GONE", false), "c: []", DriveGlyph::Hard},
        DriveRowCase{"fixed_no_label", makeDrive(platform::kDriveFixed, ""), "c: []", DriveGlyph::Hard},
        DriveRowCase{"cdrom", makeDrive(platform::kDriveCdrom, "CD_01"), "c: [cd_01]", DriveGlyph::Cdrom},
        DriveRowCase{"ramdisk", makeDrive(platform::kDriveRamdisk, "RamDisk"), "c: [ramdisk]", DriveGlyph::Ram},
        DriveRowCase{"remote", makeDrive(platform::kDriveRemote, "NAS", true, "\\\\Srv\\Share"), "c: \\\\srv\\share",
                     DriveGlyph::Network},
        DriveRowCase{"remote_unconnected_falls_back_to_label", makeDrive(platform::kDriveRemote, "NAS"), "c: [nas]",
                     DriveGlyph::Network},
        DriveRowCase{"remote_name_too_long_falls_back_to_label",
                     makeDrive(platform::kDriveRemote, "NAS", true, kLongShare), "c: [nas]", DriveGlyph::Network},
        DriveRowCase{"label_with_percent", makeDrive(platform::kDriveFixed, "100%s"), "c: [100%s]", DriveGlyph::Hard},
        DriveRowCase{"unknown_type", makeDrive(platform::kDriveUnknown, "X"), std::nullopt, DriveGlyph::Hard},
        DriveRowCase{"no_root_dir", makeDrive(platform::kDriveNoRootDir, "X"), std::nullopt, DriveGlyph::Hard},
        DriveRowCase{"type_above_known", makeDrive(7, "X"), std::nullopt, DriveGlyph::Hard}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST_F(DriveComboBoxTest, RowsAreRebuiltOnlyWithTheWindow) {
    auto combo = makeCombo();
    EXPECT_TRUE(combo->rows().empty());
    combo->show();
    machine.drive('C')->label = "RENAMED";
    machine.setDrive('E', makeDrive(platform::kDriveFixed, "NEW"));
    combo->hide();
    combo->show();
    EXPECT_EQ(rowTexts(*combo), (std::vector<std::string>{"a:", "c: [system]", "d: []", "z: \\\\srv\\data"}));
    EXPECT_EQ(combo->windowCreations(), 1);

    QFont font = combo->font();
    font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() + 3 : 20);
    combo->setFont(font);
    EXPECT_EQ(rowTexts(*combo),
              (std::vector<std::string>{"a:", "c: [renamed]", "d: []", "e: [new]", "z: \\\\srv\\data"}));
}

// --- creation ---

struct CreationCase {
    const char* name;
    std::string currentDirectory;
    char letterBefore;
    char letterAfter;
    int selectedRow;
};

class DriveComboBoxCreation : public DriveComboBoxTest, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(DriveComboBoxCreation, LetterFromCurrentDirectory) {
    const CreationCase& c = GetParam();
    machine.currentDirectory = c.currentDirectory;
    auto combo = makeCombo();
    EXPECT_EQ(combo->DriveLetter(), c.letterBefore);
    EXPECT_TRUE(combo->rows().empty());
    EXPECT_TRUE(changes.empty());

    combo->show();
    EXPECT_EQ(combo->DriveLetter(), c.letterAfter);
    EXPECT_EQ(combo->currentIndex(), c.selectedRow);
    EXPECT_EQ(changes, std::vector<char>{c.letterAfter});
    EXPECT_EQ(combo->windowCreations(), 1);

    // Showing again is no new window.
    combo->hide();
    combo->show();
    EXPECT_EQ(changes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveComboBoxCreation,
                         ::testing::Values(CreationCase{"c_work", "C:\\WORK", 'C', 'c', 1},
                                           CreationCase{"d_root", "d:\\", 'd', 'd', 2},
                                           CreationCase{"network", "\\\\SRV\\DATA\\DIR", 0, 0, -1},
                                           CreationCase{"no_such_drive", "E:\\", 'E', 'e', -1},
                                           CreationCase{"unreadable", "", 0, 0, -1}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

// --- the user's picks ---

struct PickStep {
    int row;
    std::vector<std::string> log;
};
struct PickCase {
    const char* name;
    std::vector<PickStep> steps;
};

class DriveComboBoxPicks : public DriveComboBoxTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(DriveComboBoxPicks, RaiseOnChange) {
    auto combo = makeCombo();
    combo->show();
    ASSERT_EQ(combo->DriveLetter(), 'c');
    for (const PickStep& step : GetParam().steps) {
        SCOPED_TRACE(step.row);
        log.clear();
        pickRow(*combo, step.row);
        EXPECT_EQ(log, step.log);
        EXPECT_EQ(combo->currentIndex(), step.row);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveComboBoxPicks,
    ::testing::Values(
        PickCase{"other_then_same", {{2, {"click:c", "change:d", "change:d"}}, {2, {"click:d", "change:d"}}}},
        PickCase{"the_chosen_drive", {{1, {"click:c", "change:c"}}}},
        PickCase{"two_others", {{3, {"click:c", "change:z", "change:z"}}, {0, {"click:z", "change:a", "change:a"}}}}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST_F(DriveComboBoxTest, KeyboardPickOnClosedField) {
    auto combo = makeCombo();
    combo->show();
    log.clear();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(combo.get(), &down);
    EXPECT_EQ(log, (std::vector<std::string>{"click:c", "change:d", "change:d"}));
    EXPECT_EQ(combo->DriveLetter(), 'd');
}

TEST_F(DriveComboBoxTest, SelectionFromCodeIsNoPick) {
    auto combo = makeCombo();
    combo->show();
    log.clear();
    combo->setCurrentIndex(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(combo->DriveLetter(), 'c');
}

// --- writing DriveLetter ---

struct WriteCase {
    const char* name;
    TTextCase textCase;
    std::vector<char> writes;
    char letter;
    int selectedRow;
    std::size_t notifications;
};

class DriveComboBoxWrites : public DriveComboBoxTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(DriveComboBoxWrites, FollowTheRules) {
    const WriteCase& c = GetParam();
    // A drive Q catches a letter that is garbled into 'Q' by careless case arithmetic.
    machine.setDrive('Q', makeDrive(platform::kDriveFixed, "QUOTA"));
    auto combo = makeCombo();
    combo->setTextCase(c.textCase);
    combo->show();
    ASSERT_EQ(combo->currentIndex(), 1);
    changes.clear();
    for (char letter : c.writes)
        combo->setDriveLetter(letter);
    EXPECT_EQ(combo->DriveLetter(), c.letter);
    EXPECT_EQ(combo->currentIndex(), c.selectedRow);
    EXPECT_EQ(changes.size(), c.notifications);
    EXPECT_EQ(combo->windowCreations(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveComboBoxWrites,
                         ::testing::Values(WriteCase{"same_letter_upper", tcLowerCase, {'C'}, 'c', 1, 0},
                                           WriteCase{"same_letter", tcLowerCase, {'c'}, 'c', 1, 0},
                                           WriteCase{"no_such_drive", tcLowerCase, {'e'}, 'e', 1, 1},
                                           WriteCase{"other_drive", tcLowerCase, {'D'}, 'd', 2, 1},
                                           WriteCase{"zero_clears", tcLowerCase, {0}, 0, -1, 1},
                                           WriteCase{"zero_twice", tcLowerCase, {0, 0}, 0, -1, 2},
                                           WriteCase{"zero_then_same", tcLowerCase, {0, 'c'}, 'c', 1, 2},
                                           WriteCase{"unmatched_then_row", tcLowerCase, {'e', 'c'}, 'c', 1, 2},
                                           WriteCase{"unmatched_twice", tcLowerCase, {'e', 'E'}, 'e', 1, 1},
                                           WriteCase{"upper_case", tcUpperCase, {'d'}, 'D', 2, 1},
                                           WriteCase{"upper_case_same", tcUpperCase, {'c'}, 'C', 1, 0},
                                           WriteCase{"not_a_letter", tcLowerCase, {'1'}, '1', 1, 1},
                                           WriteCase{"not_a_letter_upper", tcUpperCase, {'1'}, '1', 1, 1}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST_F(DriveComboBoxTest, WritingTextCaseRebuildsAndNotifies) {
    auto combo = makeCombo();
    combo->show();
    changes.clear();
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        combo->setTextCase(tcUpperCase);  // the same value again still rebuilds
        EXPECT_EQ(rowTexts(*combo)[1], "C: [SYSTEM]");
        EXPECT_EQ(combo->DriveLetter(), 'C');
        EXPECT_EQ(combo->currentIndex(), 1);
        EXPECT_EQ(changes.size(), std::size_t(round));
    }
}

// --- row height ---

// A font whose full text height is `height` pixels, found by trying pixel sizes of the installed
// families (the program's Gothic first); not every family has every height.
std::optional<QFont> fontOfHeight(int height) {
    QStringList families = {QStringLiteral("IPAPGothic"), QApplication::font().family()};
    families += QFontDatabase::families();
    for (const QString& family : families) {
        for (int pixels = 1; pixels <= 64; ++pixels) {
            QFont font(family);
            font.setPixelSize(pixels);
            if (QFontMetrics(font).height() == height)
                return font;
        }
    }
    return std::nullopt;
}

struct HeightCase {
    int fontHeight;
    int rowHeight;
};

class DriveComboBoxHeight : public DriveComboBoxTest, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(DriveComboBoxHeight, RowsAtLeastGlyphHigh) {
    const HeightCase& c = GetParam();
    const auto font = fontOfHeight(c.fontHeight);
    ASSERT_TRUE(font.has_value()) << "no font of text height " << c.fontHeight;

    auto combo = makeCombo();
    combo->setFont(*font);
    EXPECT_EQ(combo->ItemHeight(), c.rowHeight);
    EXPECT_EQ(combo->windowCreations(), 0);  // no window yet, nothing to re-create
    combo->show();
    EXPECT_EQ(combo->view()->sizeHintForRow(0), c.rowHeight);
    EXPECT_EQ(combo->sizeHint().height(), c.rowHeight + 6);
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveComboBoxHeight, ::testing::Values(HeightCase{8, 11}, HeightCase{16, 16}),
                         [](const auto& paramInfo) { return "font" + std::to_string(paramInfo.param.fontHeight); });

TEST_F(DriveComboBoxTest, FontChangeRecreatesTwice) {
    const auto small = fontOfHeight(8);
    const auto large = fontOfHeight(16);
    ASSERT_TRUE(small && large);
    auto combo = makeCombo();
    combo->setFont(*small);
    combo->show();
    ASSERT_EQ(changes.size(), 1u);
    combo->setDriveLetter('d');
    changes.clear();

    combo->setFont(*large);
    EXPECT_EQ(combo->ItemHeight(), 16);
    EXPECT_EQ(combo->windowCreations(), 3);
    EXPECT_EQ(changes, (std::vector<char>{'d', 'd'}));
    EXPECT_EQ(combo->currentIndex(), 2);
}

// --- labels: case and error mode ---

struct LabelCase {
    const char* name;
    TTextCase textCase;
    char letter;
    SimDrive drive;
    std::string row;  // UTF-8
};

class DriveComboBoxLabels : public DriveComboBoxTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(DriveComboBoxLabels, DoubleByteCharactersKeepTheirBytes) {
    const LabelCase& c = GetParam();
    machine.drives = {};
    machine.setDrive(c.letter, c.drive);
    auto combo = makeCombo();
    combo->setTextCase(c.textCase);
    combo->show();
    ASSERT_EQ(combo->rows().size(), 1u);
    EXPECT_EQ(combo->rows()[0].text, platform.text().fromUtf8(c.row));
    EXPECT_EQ(combo->rows()[0].displayText.toStdString(), c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveComboBoxLabels,
    ::testing::Values(
        // 雨 and 右 end in the bytes 'J' and 'E'; the full-width Ａ and ｂ are double-byte too.
        LabelCase{"lower", tcLowerCase, 'C', makeDrive(platform::kDriveFixed, "雨ABCＡ右"), "c: [雨abcＡ右]"},
        LabelCase{"upper", tcUpperCase, 'C', makeDrive(platform::kDriveFixed, "雨abcｂ右"), "C: [雨ABCｂ右]"},
        LabelCase{"kana", tcLowerCase, 'C', makeDrive(platform::kDriveRamdisk, "アイDISK"), "c: [アイdisk]"},
        LabelCase{"share", tcLowerCase, 'Z', makeDrive(platform::kDriveRemote, "", true, "\\\\SRV\\雨DATA"),
                  "z: \\\\srv\\雨data"}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST(DriveComboBoxCodePage, TrailBytesOfTheLabelsLookLikeLetters) {
    SimMachine machine;
    SimPlatform platform(machine);
    for (const char* text : {"雨", "右", "ア", "イ"}) {
        SCOPED_TRACE(text);
        const std::string bytes = platform.text().fromUtf8(text).bytes();
        ASSERT_EQ(bytes.size(), 2u);
        EXPECT_TRUE(platform.text().isLeadByte(std::uint8_t(bytes[0])));
        EXPECT_TRUE(bytes[1] >= 'A' && bytes[1] <= 'Z');
    }
}

// A machine whose code page is UTF-8, with no double-byte lead bytes.
class Utf8Platform : public SimPlatform {
public:
    using SimPlatform::SimPlatform;
    std::string toUtf8(const platform::CodePageText& text) const override { return text.bytes(); }
    platform::CodePageText fromUtf8(std::string_view utf8) const override {
        return platform::CodePageText(std::string(utf8));
    }
    bool isLeadByte(std::uint8_t) const override { return false; }
    bool hasLeadBytes() const override { return false; }
};

struct FileNameCaseCase {
    std::string text;
    bool upper;
    std::string expected;
};

TEST(DriveComboBoxCodePage, SingleByteCodePageUsesTheLocale) {
    SimMachine machine;
    Utf8Platform platform(machine);
    const std::vector<FileNameCaseCase> cases = {
        {"ÄRGER ＡＢＣ", false, "ärger ａｂｃ"},
        {"ärger ａｂｃ", true, "ÄRGER ＡＢＣ"},
        {"\\\\SRV\\DATA", false, "\\\\srv\\data"},
        {"", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FileNameCase(platform.text(), platform::CodePageText(c.text), c.upper, ToolkitLocaleCase()),
                  c.expected);
    }
}

TEST(DriveComboBoxCodePage, DoubleByteRuleDirectly) {
    SimMachine machine;
    SimPlatform platform(machine);
    const std::vector<FileNameCaseCase> cases = {
        {"雨ABCＡ右", false, "雨abcＡ右"},
        {"雨abcｂ右", true, "雨ABCｂ右"},
        {"abc", true, "ABC"},
        {"ABC", true, "ABC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FileNameCase(platform.text(), platform.text().fromUtf8(c.text), c.upper, ToolkitLocaleCase()),
                  platform.text().fromUtf8(c.expected));
    }
    // A lead byte at the very end has no trail byte; it passes unchanged.
    EXPECT_EQ(
        FileNameCase(platform.text(), platform::CodePageText(std::string("AB\x89", 3)), false, ToolkitLocaleCase()),
        std::string("ab\x89", 3));
}

TEST_F(DriveComboBoxTest, ErrorModeSetAroundTheLabelQueryAndRestored) {
    machine.errorMode = 0x8000;
    auto combo = makeCombo();
    combo->show();
    EXPECT_EQ(machine.errorMode, 0x8000u);
    // The CD-ROM drive without a disc was queried without bothering the user.
    EXPECT_EQ(machine.criticalErrorPrompts, 0);
    EXPECT_EQ(rowTexts(*combo)[2], "d: []");
}

// A machine whose volume query fails with an error.
class FailingVolumePlatform : public SimPlatform {
public:
    using SimPlatform::SimPlatform;
    std::optional<platform::VolumeInformation> getVolumeInformation(const std::string&) const override {
        EXPECT_EQ(machine().errorMode, 1u);
        throw std::runtime_error("volume query failed");
    }
};

TEST_F(DriveComboBoxTest, ErrorModeRestoredWhenTheQueryFails) {
    machine.errorMode = 0x8000;
    FailingVolumePlatform failing(machine);
    auto combo = makeCombo(failing);
    EXPECT_THROW(combo->FillDriveList(), std::runtime_error);
    EXPECT_EQ(machine.errorMode, 0x8000u);
}

// --- drawing ---

QImage renderRow(const TDriveComboBox& combo, int index, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    combo.drawRow(painter, QRect(QPoint(0, 0), size), index, false, false);
    return image;
}

TEST_F(DriveComboBoxTest, AmpersandDrawnAsItself) {
    machine.drive('C')->label = "R&D";
    auto combo = makeCombo();
    combo->show();
    ASSERT_EQ(rowTexts(*combo)[1], "c: [r&d]");

    const QSize size(150, combo->ItemHeight());
    const QImage actual = renderRow(*combo, 1, size);

    // The same row drawn by hand, with and without mnemonic handling of the text.
    const auto byHand = [&](int extraFlags) {
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        const QColor brush = toQColor(combo->color());
        painter.fillRect(image.rect(), brush);
        const QImage& glyph = combo->glyph(DriveGlyph::Hard);
        painter.drawImage(QPoint(2, (size.height() - glyph.height()) / 2), GlyphOnBrush(glyph, brush));
        painter.setFont(combo->font());
        painter.setPen(toQColor(combo->fontColor()));
        painter.drawText(QRect(22, 0, size.width() - 22, size.height()),
                         Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignVCenter | extraFlags, "c: [r&d]");
        return image;
    };
    const QImage plain = byHand(0);
    const QImage mnemonic = byHand(Qt::TextShowMnemonic);
    ASSERT_NE(plain, mnemonic);
    EXPECT_EQ(actual, plain);
}

struct PlacementCase {
    int top;
    int height;
};

TEST(DriveComboBoxDrawing, GlyphCentredOnTheBrush) {
    QImage glyph(16, 11, QImage::Format_RGB32);
    glyph.fill(QColor(0, 0, 255));
    for (int x = 0; x < 16; ++x)
        glyph.setPixel(x, 5, qRgb(0, 0, 0));  // a black middle line
    glyph.setPixel(3, 0, qRgb(255, 255, 255));
    const QColor brush(255, 0, 0);
    const QColor outside(0, 255, 0);

    for (const PlacementCase c :
         {PlacementCase{0, 11}, PlacementCase{0, 16}, PlacementCase{4, 17}, PlacementCase{3, 20}}) {
        SCOPED_TRACE(testing::Message() << "top " << c.top << " height " << c.height);
        QImage image(40, c.top + c.height + 3, QImage::Format_RGB32);
        image.fill(outside);
        {
            QPainter painter(&image);
            DrawDriveRow(painter, QRect(0, c.top, 40, c.height), &glyph, QString(), brush, Qt::black);
        }
        const int glyphTop = (2 * c.top + c.height - 11) / 2;
        for (int y = 0; y < image.height(); ++y) {
            const bool inRow = y >= c.top && y < c.top + c.height;
            for (int x = 0; x < image.width(); ++x) {
                QRgb expected = inRow ? brush.rgb() : outside.rgb();
                if (x >= 2 && x < 18 && y >= glyphTop && y < glyphTop + 11) {
                    const QRgb g = glyph.pixel(x - 2, y - glyphTop);
                    if (g != qRgb(0, 0, 255))
                        expected = g;
                }
                ASSERT_EQ(image.pixel(x, y), expected) << "at " << x << "," << y;
            }
        }
    }
}

struct TextLeftCase {
    int glyphWidth;  // 0: no glyph
    int textLeft;
};

TEST(DriveComboBoxDrawing, TextStartsAfterTheGlyph) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(14);
    for (const TextLeftCase c : {TextLeftCase{0, 22}, TextLeftCase{16, 22}, TextLeftCase{24, 30}}) {
        SCOPED_TRACE(c.glyphWidth);
        QImage glyph;
        if (c.glyphWidth > 0) {
            glyph = QImage(c.glyphWidth, 11, QImage::Format_RGB32);
            glyph.fill(QColor(0, 0, 255));  // all transparent: only the text leaves ink
        }
        QImage image(120, 16, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(font);
            DrawDriveRow(painter, image.rect(), c.glyphWidth > 0 ? &glyph : nullptr, QStringLiteral("HHH"), Qt::white,
                         Qt::black);
        }
        int firstInk = -1;
        for (int x = 0; x < image.width() && firstInk < 0; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    firstInk = x;
                    break;
                }
        EXPECT_GE(firstInk, c.textLeft);
        EXPECT_LE(firstInk, c.textLeft + 3);
    }
}

TEST_F(DriveComboBoxTest, SelectionFieldAndListShowTheRows) {
    auto combo = makeCombo();
    combo->resize(150, combo->sizeHint().height());
    combo->show();
    const QColor brush = toQColor(combo->color());
    const QColor highlight = toQColor(colour::Highlight);
    const QImage hard = GlyphOnBrush(combo->glyph(DriveGlyph::Hard), brush);
    const QImage cdrom = GlyphOnBrush(combo->glyph(DriveGlyph::Cdrom), brush);

    EXPECT_TRUE(containsImage(combo->grab().toImage(), hard));
    combo->setDriveLetter('d');
    QImage field = combo->grab().toImage();
    EXPECT_TRUE(containsImage(field, cdrom));
    EXPECT_FALSE(containsImage(field, hard));
    combo->setDriveLetter(0);
    field = combo->grab().toImage();
    EXPECT_FALSE(containsImage(field, cdrom));

    combo->setDriveLetter('c');
    combo->showPopup();
    const QImage list = combo->view()->viewport()->grab().toImage();
    for (DriveGlyph kind : {DriveGlyph::Floppy, DriveGlyph::Hard, DriveGlyph::Cdrom, DriveGlyph::Network}) {
        SCOPED_TRACE(int(kind));
        const QImage& glyph = combo->glyph(kind);
        EXPECT_TRUE(containsImage(list, GlyphOnBrush(glyph, brush)) ||
                    containsImage(list, GlyphOnBrush(glyph, highlight)));
    }
    combo->hidePopup();
}

// --- glyphs ---

std::string glyphName(DriveGlyph kind) {
    static const std::array<const char*, kDriveGlyphCount> names = {"FLOPPY", "HARD", "NETWORK", "CDROM", "RAM"};
    return names[std::size_t(kind)];
}

class DriveComboBoxGlyphs : public DriveComboBoxTest, public ::testing::WithParamInterface<DriveGlyph> {};

TEST_P(DriveComboBoxGlyphs, SixteenColoursOnBlue) {
    auto combo = makeCombo();
    const QImage& glyph = combo->glyph(GetParam());
    ASSERT_EQ(glyph.size(), QSize(16, 11));
    const QRgb blue = qRgb(0, 0, 255);
    const QSet<QRgb> vga = {qRgb(0, 0, 0),
                            qRgb(128, 0, 0),
                            qRgb(0, 128, 0),
                            qRgb(128, 128, 0),
                            qRgb(0, 0, 128),
                            qRgb(128, 0, 128),
                            qRgb(0, 128, 128),
                            qRgb(192, 192, 192),
                            qRgb(128, 128, 128),
                            qRgb(255, 0, 0),
                            qRgb(0, 255, 0),
                            qRgb(255, 255, 0),
                            blue,
                            qRgb(255, 0, 255),
                            qRgb(0, 255, 255),
                            qRgb(255, 255, 255)};
    QSet<QRgb> used;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = glyph.pixel(x, y) | 0xFF000000u;
            used.insert(pixel);
            if (y == 0 || y == 10) {
                EXPECT_EQ(pixel, blue) << x << "," << y;
            }
        }
    for (QRgb colour : used)
        EXPECT_TRUE(vga.contains(colour)) << std::hex << colour;
    for (QRgb needed : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(192, 192, 192), qRgb(128, 128, 128)})
        EXPECT_TRUE(used.contains(needed)) << std::hex << needed;

    // Every blue pixel, and only those, takes the brush colour.
    const QColor brush(0, 128, 0);
    const QImage onBrush = GlyphOnBrush(glyph, brush);
    int replaced = 0;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb original = glyph.pixel(x, y) | 0xFF000000u;
            const QRgb drawn = onBrush.pixel(x, y) | 0xFF000000u;
            if (original == blue) {
                EXPECT_EQ(drawn, brush.rgb());
                ++replaced;
            } else {
                EXPECT_EQ(drawn, original);
            }
        }
    EXPECT_GE(replaced, 32);
}

INSTANTIATE_TEST_SUITE_P(Glyphs, DriveComboBoxGlyphs,
                         ::testing::Values(DriveGlyph::Floppy, DriveGlyph::Hard, DriveGlyph::Network, DriveGlyph::Cdrom,
                                           DriveGlyph::Ram),
                         [](const auto& paramInfo) { return glyphName(paramInfo.param); });

TEST_F(DriveComboBoxTest, GlyphsDifferInTheirMarks) {
    auto combo = makeCombo();
    const std::vector<DriveGlyph> kinds = {DriveGlyph::Floppy, DriveGlyph::Hard, DriveGlyph::Network, DriveGlyph::Cdrom,
                                           DriveGlyph::Ram};
    for (std::size_t i = 0; i < kinds.size(); ++i)
        for (std::size_t j = i + 1; j < kinds.size(); ++j)
            EXPECT_NE(combo->glyph(kinds[i]), combo->glyph(kinds[j])) << i << " " << j;
}

TEST(DriveComboBoxDrawing, GlyphTransparencyComesFromTheBottomLeftPixel) {
    QImage glyph(4, 3, QImage::Format_RGB32);
    glyph.fill(QColor(10, 20, 30));
    glyph.setPixel(0, 2, qRgb(1, 2, 3));
    glyph.setPixel(3, 0, qRgb(1, 2, 3));
    const QImage out = GlyphOnBrush(glyph, QColor(200, 100, 50));
    EXPECT_EQ(out.pixel(0, 2), qRgb(200, 100, 50));
    EXPECT_EQ(out.pixel(3, 0), qRgb(200, 100, 50));
    EXPECT_EQ(out.pixel(1, 1), qRgb(10, 20, 30));
    EXPECT_TRUE(GlyphOnBrush(QImage(), Qt::red).isNull());
}

}  // namespace
}  // namespace zelvo
