#include "TDriveComboBox.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>
#include <optional>

#include "ColourConvert.h"
#include "PngResource.h"

// Resources compiled into a static library are registered explicitly, from the global namespace.
static void initGlyphResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(glyphs);
        return true;
    }();
    (void)registered;
}

namespace zelvo {

namespace {

// Space between the glyph and the text, and the glyph's distance from the row's left edge.
constexpr int kTextGap = 6;
constexpr int kGlyphLeft = 2;
// Width assumed for a row without a glyph.
constexpr int kDefaultGlyphWidth = 16;

constexpr std::array<const char*, kDriveGlyphCount> kGlyphResources = {
    ":/glyphs/FLOPPY.png", ":/glyphs/HARD.png", ":/glyphs/NETWORK.png", ":/glyphs/CDROM.png", ":/glyphs/RAM.png",
};

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}
char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}
bool sameLetter(char a, char b) {
    return asciiUpper(a) == asciiUpper(b);
}

// Draws the popup's rows the same way the control draws its selection field.
class DriveRowDelegate : public QAbstractItemDelegate {
public:
    explicit DriveRowDelegate(TDriveComboBox* combo) : QAbstractItemDelegate(combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        combo_->drawRow(*painter, option.rect, index.row(), option.state.testFlag(QStyle::State_Selected),
                        option.state.testFlag(QStyle::State_HasFocus));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), combo_->ItemHeight());
    }

private:
    TDriveComboBox* combo_;
};

}  // namespace

QImage GlyphOnBrush(const QImage& glyph, const QColor& brush) {
    if (glyph.isNull())
        return glyph;
    QImage out = glyph.convertToFormat(QImage::Format_RGB32);
    const QRgb transparent = out.pixel(0, out.height() - 1);
    const QRgb fill = brush.rgb();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        std::replace(line, line + out.width(), transparent, fill);
    }
    return out;
}

void DrawDriveRow(QPainter& painter, const QRect& rect, const QImage* glyph, const QString& text, const QColor& brush,
                  const QColor& textColour) {
    painter.fillRect(rect, brush);
    int glyphWidth = kDefaultGlyphWidth;
    if (glyph != nullptr && !glyph->isNull()) {
        glyphWidth = glyph->width();
        // Corners as the system counts them: the bottom edge is exclusive.
        const int top = (rect.top() + (rect.top() + rect.height()) - glyph->height()) / 2;
        painter.drawImage(QPoint(rect.left() + kGlyphLeft, top), GlyphOnBrush(*glyph, brush));
    }
    const QRect textRect = rect.adjusted(glyphWidth + kTextGap, 0, 0, 0);
    painter.save();
    painter.setClipRect(textRect, Qt::IntersectClip);
    painter.setPen(textColour);
    // No Qt::TextShowMnemonic: an ampersand in a label is drawn as itself.
    painter.drawText(textRect, Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

LocaleCase ToolkitLocaleCase() {
    return [](const std::string& utf8, bool upper) {
        const QString text = QString::fromStdString(utf8);
        const QLocale locale;
        return (upper ? locale.toUpper(text) : locale.toLower(text)).toStdString();
    };
}

DriveRowSource DriveRowsOf(platform::Drives& drives, const platform::TextLocale& codePage) {
    return {[&drives, &codePage](bool upperCase) {
                return ReadDriveRows(drives, codePage, upperCase, ToolkitLocaleCase());
            },
            [&drives] { return CurrentDriveLetter(drives); }};
}

TDriveComboBox::TDriveComboBox(DriveRowSource source, QWidget* parent)
    : TColoured(parent, colour::WindowColour, colour::WindowText), source_(std::move(source)) {
    setEditable(false);
    setItemDelegate(new DriveRowDelegate(this));
    loadGlyphs();

    driveLetter_ = source_.currentDriveLetter ? source_.currentDriveLetter() : 0;
    UpdateItemHeight();

    // Only a pick by the user (mouse or keyboard) emits activated; selecting a row from code
    // does not.
    connect(this, &QComboBox::activated, this, [this](int) {
        Click();
        Select();
    });
}

TDriveComboBox::~TDriveComboBox() = default;

void TDriveComboBox::loadGlyphs() {
    initGlyphResources();
    for (std::size_t i = 0; i < kDriveGlyphCount; ++i)
        glyphs_[i] = readPngResource(QString::fromLatin1(kGlyphResources[i])).convertToFormat(QImage::Format_RGB32);
}

void TDriveComboBox::setDriveLetter(char letter) {
    if (currentIndex() >= 0 && sameLetter(letter, driveLetter_))
        return;
    if (letter == 0) {
        driveLetter_ = 0;
        setCurrentIndex(-1);
    } else {
        driveLetter_ = textCase_ == tcUpperCase ? asciiUpper(letter) : asciiLower(letter);
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const std::string& text = rows_[i].text.bytes();
            if (text.size() >= 2 && sameLetter(text[0], driveLetter_) && text[1] == ':') {
                setCurrentIndex(int(i));
                break;
            }
        }
    }
    raiseChange();
}

void TDriveComboBox::setTextCase(TTextCase value) {
    textCase_ = value;
    const char letter = driveLetter_;
    FillDriveList();
    setDriveLetter(letter);
}

void TDriveComboBox::raiseChange() {
    if (OnChange)
        OnChange(this);
}

void TDriveComboBox::FillDriveList() {
    clear();
    rows_.clear();
    if (source_.rows) {
        for (const DriveRow& drive : source_.rows(textCase_ == tcUpperCase)) {
            Row row{drive.text, QString::fromStdString(drive.textUtf8), DriveGlyph(drive.kind)};
            rows_.push_back(row);
            addItem(row.displayText);
        }
    }
    // The combo box selects the first row it is given; the rebuilt list starts with none.
    setCurrentIndex(-1);
}

void TDriveComboBox::createWindow() {
    windowCreated_ = true;
    ++windowCreations_;
    FillDriveList();
    // No row is selected after the rebuild, so this write runs in full and raises OnChange.
    setDriveLetter(driveLetter_);
}

void TDriveComboBox::recreateWindow() {
    if (windowCreated_)
        createWindow();
}

void TDriveComboBox::UpdateItemHeight() {
    const int fontHeight = QFontMetrics(font()).height();
    setItemHeight(std::max(fontHeight, glyphs_[std::size_t(DriveGlyph::Floppy)].height()));
}

void TDriveComboBox::setItemHeight(int height) {
    if (height <= 0)
        return;
    itemHeight_ = height;
    updateGeometry();
    // A row height is applied by re-creating the window, even when it did not change.
    recreateWindow();
}

void TDriveComboBox::Click() {
    if (OnClick)
        OnClick(this);
    const int index = currentIndex();
    if (index >= 0 && std::size_t(index) < rows_.size())
        setDriveLetter(rows_[std::size_t(index)].text.bytes().front());
}

void TDriveComboBox::Select() {
    raiseChange();
}

void TDriveComboBox::showEvent(QShowEvent* event) {
    QComboBox::showEvent(event);
    if (!windowCreated_)
        createWindow();
}

void TDriveComboBox::changeEvent(QEvent* event) {
    TColoured::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateItemHeight();
        recreateWindow();
    }
}

void TDriveComboBox::drawRow(QPainter& painter, const QRect& rect, int index, bool selected, bool focused) const {
    const QColor brush = toQColor(selected ? colour::Highlight : color());
    const QColor text = toQColor(selected ? colour::HighlightText : fontColor());
    painter.save();
    painter.setFont(font());
    if (index >= 0 && std::size_t(index) < rows_.size()) {
        const Row& row = rows_[std::size_t(index)];
        DrawDriveRow(painter, rect, &glyphs_[std::size_t(row.glyph)], row.displayText, brush, text);
    } else {
        painter.fillRect(rect, brush);
    }
    if (focused) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect;
        option.backgroundColor = brush;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    painter.restore();
}

void TDriveComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int height = std::min(itemHeight_, field.height());
    const QRect row(field.left(), field.top() + (field.height() - height) / 2, field.width(), height);
    painter.setClipRect(row);
    const bool focused = hasFocus() && !view()->isVisible();
    drawRow(painter, row, currentIndex(), focused, focused);
}

QSize TDriveComboBox::sizeHint() const {
    // The selection field is one row tall, inside a three-pixel frame.
    return QSize(QComboBox::sizeHint().width(), itemHeight_ + 6);
}

QSize TDriveComboBox::minimumSizeHint() const {
    return QSize(QComboBox::minimumSizeHint().width(), itemHeight_ + 6);
}

}  // namespace zelvo
