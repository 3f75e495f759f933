// Writes the program's icon at the sizes a desktop asks for, from the one 32 x 32 picture: PNGs
// enlarged or reduced pixel for pixel (nearest neighbour, so the 16 colours stay 16 colours), and a
// scalable SVG drawn as the picture's pixels. Run by the build:
//   make_hicolor_icons <zelvo.png> <output hicolor directory>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <cstdio>

namespace {

bool writeSvg(const QImage& picture, const QString& path) {
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\" "
                      "shape-rendering=\"crispEdges\">\n")
                      .arg(picture.width())
                      .arg(picture.height());
    // One rectangle per run of equal pixels in a row.
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width();) {
            const QRgb pixel = picture.pixel(x, y);
            int end = x + 1;
            while (end < picture.width() && picture.pixel(end, y) == pixel)
                ++end;
            if (qAlpha(pixel) != 0)
                svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" fill=\"%4\"/>\n")
                           .arg(x)
                           .arg(y)
                           .arg(end - x)
                           .arg(QColor::fromRgb(pixel).name());
            x = end;
        }
    }
    svg += QStringLiteral("</svg>\n");
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(svg.toUtf8()) >= 0 && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_hicolor_icons <zelvo.png> <output directory>\n");
        return 2;
    }
    const QImage picture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "make_hicolor_icons: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(folder + QStringLiteral("/zelvo.png"));
        if (!out.mkpath(folder) ||
            !picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(file)) {
            std::fprintf(stderr, "make_hicolor_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    const QString svg = out.filePath(QStringLiteral("scalable/apps/zelvo.svg"));
    if (!out.mkpath(QStringLiteral("scalable/apps")) || !writeSvg(picture, svg)) {
        std::fprintf(stderr, "make_hicolor_icons: cannot write %s\n", qPrintable(svg));
        return 1;
    }
    return 0;
}
