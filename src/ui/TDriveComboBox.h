#pragma once
// TDriveComboBox: a drop-down list of the computer's drives, one fixed-height row per drive with a
// glyph for its type and the letter with the volume label or network share. The control keeps the
// chosen letter in DriveLetter and raises OnChange whenever that letter is written.
//
// Qt widgets have no native window that is created and re-created the way the program expects, so
// "window creation" is a step of its own here: it runs when the control is first shown and again
// whenever it is re-created (a font change, a new row height). Each run rebuilds the rows from the
// machine's current drives and writes DriveLetter, which raises OnChange.
//
// OnChange and OnClick are called directly from Qt's event handlers; a handler that can fail must
// catch its own errors (the main window runs its handlers through its error guard).

#include <QComboBox>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "probes/DriveRows.h"
#include "ui/TControl.h"

class QPainter;

namespace zelvo {

enum TTextCase : std::uint8_t { tcLowerCase, tcUpperCase };

// The drive glyphs, in the order they are loaded: one per kind of drive.
enum class DriveGlyph : std::uint8_t { Floppy, Hard, Network, Cdrom, Ram };
static_assert(std::uint8_t(DriveGlyph::Ram) == std::uint8_t(DriveKind::Ram));
inline constexpr std::size_t kDriveGlyphCount = 5;

// The glyph with every pixel of its bottom-left pixel's colour replaced by `brush`.
QImage GlyphOnBrush(const QImage& glyph, const QColor& brush);

// Draws one row: the rectangle filled with `brush`; the glyph (if any) at the left, vertically
// centred, on the brush; the text on one line, vertically centred, with no mnemonic handling, in
// the painter's font and `textColour`.
void DrawDriveRow(QPainter& painter, const QRect& rect, const QImage* glyph, const QString& text, const QColor& brush,
                  const QColor& textColour);

// The toolkit's case conversion in the user's locale, for the drive labels.
LocaleCase ToolkitLocaleCase();

// Where the selector's rows come from. The control asks for them each time its window is created
// and never calls the system itself.
struct DriveRowSource {
    std::function<std::vector<DriveRow>(bool upperCase)> rows;
    std::function<char()> currentDriveLetter;  // 0: none
};

// The rows of `platform`'s drives, from the drive probe, labels cased in the user's locale.
DriveRowSource DriveRowsOf(platform::Drives& drives, const platform::TextLocale& codePage);

class TDriveComboBox : public TColoured<QComboBox> {
    Q_OBJECT
public:
    struct Row {
        platform::CodePageText text;  // the first character is the drive letter
        QString displayText;          // the same text for the screen
        DriveGlyph glyph;
    };

    explicit TDriveComboBox(DriveRowSource source, QWidget* parent = nullptr);
    ~TDriveComboBox() override;

    // The chosen drive: a letter in the case of TextCase, or 0 for none.
    char DriveLetter() const { return driveLetter_; }
    void setDriveLetter(char letter);

    TTextCase TextCase() const { return textCase_; }
    // Rebuilds the rows in the new case and writes DriveLetter again (raising OnChange).
    void setTextCase(TTextCase value);

    // color() and fontColor() are the rows' background and text; the selected row uses the system
    // highlight colours instead.

    // Height of every row and of the selection field, in pixels.
    int ItemHeight() const { return itemHeight_; }

    // Raised with the control whenever DriveLetter is written, and once more when the user picks
    // a row.
    std::function<void(QObject* sender)> OnChange;
    // Raised when the user picks a row, before the letter is taken from it.
    std::function<void(QObject* sender)> OnClick;

    // Rebuilds the rows from the row source; no row is selected afterwards.
    virtual void FillDriveList();

    const std::vector<Row>& rows() const { return rows_; }
    const QImage& glyph(DriveGlyph kind) const { return glyphs_[std::size_t(kind)]; }
    // How many times the window has been created or re-created.
    int windowCreations() const { return windowCreations_; }

    // Draws row `index` (or an empty row when there is none) into `rect` in the control's font.
    void drawRow(QPainter& painter, const QRect& rect, int index, bool selected, bool focused) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // The steps of a user's pick: the click step takes the letter from the chosen row, the select
    // step raises OnChange once more.
    virtual void Click();
    virtual void Select();

    // Runs the window-creation step again if the window exists.
    void recreateWindow();

private:
    void loadGlyphs();
    void createWindow();
    void UpdateItemHeight();
    void setItemHeight(int height);
    void raiseChange();

    DriveRowSource source_;
    char driveLetter_ = 0;
    TTextCase textCase_ = tcLowerCase;
    std::array<QImage, kDriveGlyphCount> glyphs_;
    std::vector<Row> rows_;
    int itemHeight_ = 16;
    bool windowCreated_ = false;
    int windowCreations_ = 0;
};

}  // namespace zelvo
