// Draws the program's icon, 32 x 32 pixels in the 16 VGA colours: a monitor showing a pie gauge and
// two lines of figures, the picture the program itself shows. Writes zelvo.png and zelvo.ico:
//   make_icon <output directory>
// Edit the drawing here and re-run the tool to regenerate resources/zelvo.png and resources/zelvo.ico;
// the build draws the desktop's icon sizes from zelvo.png (make_hicolor_icons).

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <cstdio>

namespace {

constexpr int kSize = 32;

// The 16 VGA colours; index 16 is the transparent surround.
const QVector<QRgb> kPalette{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),     qRgb(128, 128, 0),   qRgb(0, 0, 128),
    qRgb(128, 0, 128),   qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0),
    qRgb(0, 255, 0),     qRgb(255, 255, 0), qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),
    qRgb(255, 255, 255), qRgba(0, 0, 0, 0),
};

enum Colour {
    Black = 0,
    Maroon = 1,
    Green = 2,
    Navy = 4,
    Silver = 7,
    Gray = 8,
    Red = 9,
    Lime = 10,
    Yellow = 11,
    Aqua = 14,
    White = 15
};

QColor c(Colour colour) {
    return QColor::fromRgb(kPalette[colour]);
}

void box(QPainter& p, int x, int y, int w, int h, Colour fill) {
    p.fillRect(x, y, w, h, c(fill));
}

QImage drawIcon() {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Monitor case with a black outline, lit from the top left.
    box(p, 1, 2, 30, 23, Black);
    box(p, 2, 3, 28, 21, Silver);
    box(p, 2, 3, 28, 1, White);
    box(p, 2, 3, 1, 21, White);
    box(p, 2, 23, 28, 1, Gray);
    box(p, 29, 3, 1, 21, Gray);
    // Screen, sunk into the case.
    box(p, 4, 5, 24, 16, Gray);
    box(p, 5, 6, 23, 15, White);
    box(p, 5, 6, 22, 14, Black);
    // The pie gauge: a navy disc with a red share, as on the memory page.
    p.setPen(Qt::NoPen);
    p.setBrush(c(Navy));
    p.drawEllipse(QRect(6, 8, 10, 10));
    p.setBrush(c(Red));
    p.drawPie(QRect(6, 8, 10, 10), 90 * 16, -130 * 16);
    // Figures in the outline box at the right.
    box(p, 17, 8, 9, 10, White);
    box(p, 18, 9, 7, 8, Black);
    box(p, 19, 10, 5, 1, Yellow);
    box(p, 19, 12, 4, 1, Aqua);
    box(p, 19, 14, 5, 1, Lime);
    // Power lamp and the oval button's maroon.
    box(p, 25, 21, 2, 1, Lime);
    box(p, 21, 21, 3, 1, Maroon);
    // Neck and foot.
    box(p, 12, 25, 8, 2, Black);
    box(p, 13, 25, 6, 1, Gray);
    box(p, 6, 27, 20, 3, Black);
    box(p, 7, 27, 18, 1, Silver);
    box(p, 7, 28, 18, 1, Gray);
    p.end();
    return image;
}

// Maps every pixel to its palette index; the drawing uses palette colours only, so this is exact.
QImage toIndexed(const QImage& picture, bool* exact) {
    QImage indexed(picture.size(), QImage::Format_Indexed8);
    indexed.setColorTable(kPalette);
    *exact = true;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const int index = qAlpha(pixel) == 0 ? 16 : int(kPalette.indexOf(pixel | 0xFF000000u));
            if (index < 0)
                *exact = false;
            indexed.setPixel(x, y, index < 0 ? 0 : index);
        }
    }
    return indexed;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output directory>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool exact = false;
    const QImage icon = toIndexed(drawIcon(), &exact);
    if (!exact) {
        std::fprintf(stderr, "make_icon: the drawing left the 16-colour palette\n");
        return 1;
    }
    for (const char* name : {"zelvo.png", "zelvo.ico"}) {
        if (!icon.save(out.filePath(QString::fromLatin1(name)))) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}
