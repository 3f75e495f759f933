// Draws the five drive glyphs of the drive selector from the pixel maps below and writes them as
// 16-colour PNGs: make_glyphs <output directory>. The pixel maps are the design; edit them here and
// re-run the tool to regenerate resources/glyphs/*.png.
//
// Every glyph is 16 x 11 pixels. The top and bottom rows are blue: the selector treats the colour
// of the bottom-left pixel as transparent and paints its background there.

#include <QDir>
#include <QImage>
#include <QString>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 11;

// The 16-colour VGA palette, one letter per colour.
struct PaletteEntry {
    char key;
    QRgb rgb;
};
constexpr std::array<PaletteEntry, 16> kPalette{{
    {'K', qRgb(0, 0, 0)},        // black: outline, marks
    {'m', qRgb(128, 0, 0)},      // maroon
    {'g', qRgb(0, 128, 0)},      // green
    {'o', qRgb(128, 128, 0)},    // olive
    {'n', qRgb(0, 0, 128)},      // navy
    {'p', qRgb(128, 0, 128)},    // purple
    {'t', qRgb(0, 128, 128)},    // teal
    {'S', qRgb(192, 192, 192)},  // silver: face
    {'G', qRgb(128, 128, 128)},  // grey: lower-right shadow, grooves
    {'R', qRgb(255, 0, 0)},      // red
    {'L', qRgb(0, 255, 0)},      // lime: activity light
    {'Y', qRgb(255, 255, 0)},    // yellow
    {'B', qRgb(0, 0, 255)},      // blue: transparent background
    {'F', qRgb(255, 0, 255)},    // fuchsia
    {'A', qRgb(0, 255, 255)},    // aqua
    {'W', qRgb(255, 255, 255)},  // white: upper-left highlight
}};

struct Glyph {
    const char* name;
    std::array<std::string_view, kHeight> rows;
};

// clang-format off
constexpr std::array<Glyph, 5> kGlyphs{{
    {"FLOPPY", {
        "BBBBBBBBBBBBBBBB",
        "KKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWGK",
        "KWSSSSSSSSSSSSGK",
        "KWSGKKKKKKKKWSGK",  // the disk slot, sunk into the face
        "KWSWWWWWWWWWWSGK",
        "KWSSSSSSSSSGGSGK",  // eject button
        "KWSSSSSSSSSWWSGK",
        "KWGGGGGGGGGGGGGK",
        "KKKKKKKKKKKKKKKK",
        "BBBBBBBBBBBBBBBB",
    }},
    {"HARD", {
        "BBBBBBBBBBBBBBBB",
        "KKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWGK",
        "KWSGGGGGGGGSSSGK",  // upper groove
        "KWSWWWWWWWWSSSGK",
        "KWSGGGGGGGGSLLGK",  // lower groove and the activity light
        "KWSWWWWWWWWSSSGK",
        "KWSSSSSSSSSSSSGK",
        "KWGGGGGGGGGGGGGK",
        "KKKKKKKKKKKKKKKK",
        "BBBBBBBBBBBBBBBB",
    }},
    {"NETWORK", {
        "BBBBBBBBBBBBBBBB",
        "KKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWGK",
        "KWSSSSSKKKSSSSGK",  // the plug, on its cable from the left,
        "KWSSSSKKKKKKKSGK",  // with two prongs pointing right
        "KWKKKKKKKKSSSSGK",
        "KWSSSSKKKKKKKSGK",
        "KWSSSSSKKKSSSSGK",
        "KWGGGGGGGGGGGGGK",
        "KKKKKKKKKKKKKKKK",
        "BBBBBBBBBBBBBBBB",
    }},
    {"CDROM", {
        "BBBBBBBBBBBBBBBB",
        "KKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWGK",
        "KWSSSSSSSSSSSSGK",
        "KWKKKKKKKKKKKSGK",  // the disc tray
        "KWKWWWWWWWWGKSGK",
        "KWKKKKKKKKKKKSGK",
        "KWSSSSSSSSSSLSGK",  // busy light
        "KWGGGGGGGGGGGGGK",
        "KKKKKKKKKKKKKKKK",
        "BBBBBBBBBBBBBBBB",
    }},
    {"RAM", {
        "BBBBBBBBBBBBBBBB",
        "KKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWGK",
        "KWSSKSKSKSKSKSGK",  // pins
        "KWSKKKKKKKKKKKGK",  // the chip
        "KWSKKKKKKKKKKKGK",
        "KWSKKKKKKKKKKKGK",
        "KWSSKSKSKSKSKSGK",  // pins
        "KWGGGGGGGGGGGGGK",
        "KKKKKKKKKKKKKKKK",
        "BBBBBBBBBBBBBBBB",
    }},
}};
// clang-format on

int paletteIndex(char key) {
    for (std::size_t i = 0; i < kPalette.size(); ++i)
        if (kPalette[i].key == key)
            return int(i);
    return -1;
}

// The glyph as a 16-colour image; a null image (with a message) when its map is malformed.
QImage drawGlyph(const Glyph& glyph) {
    QImage image(kWidth, kHeight, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const PaletteEntry& entry : kPalette)
        table.append(entry.rgb);
    image.setColorTable(table);
    for (int y = 0; y < kHeight; ++y) {
        const std::string_view row = glyph.rows[std::size_t(y)];
        if (row.size() != std::size_t(kWidth)) {
            std::fprintf(stderr, "%s: row %d is %zu pixels wide, not %d\n", glyph.name, y, row.size(), kWidth);
            return {};
        }
        for (int x = 0; x < kWidth; ++x) {
            const int index = paletteIndex(row[std::size_t(x)]);
            if (index < 0) {
                std::fprintf(stderr, "%s: unknown colour '%c' at (%d, %d)\n", glyph.name, row[std::size_t(x)], x, y);
                return {};
            }
            image.setPixel(x, y, uint(index));
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_glyphs <output directory>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists()) {
        std::fprintf(stderr, "make_glyphs: %s does not exist\n", argv[1]);
        return 1;
    }
    for (const Glyph& glyph : kGlyphs) {
        const QImage image = drawGlyph(glyph);
        if (image.isNull())
            return 1;
        const QString path = out.filePath(QString::fromLatin1(glyph.name) + QStringLiteral(".png"));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "make_glyphs: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
