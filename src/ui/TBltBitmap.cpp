#include "TBltBitmap.h"

#include <QPainter>

#include "ColourConvert.h"

namespace zelvo {

void TBltBitmap::MakeLike(const QImage& templ) {
    QImage::operator=(QImage(templ.size(), QImage::Format_RGB32));
    if (isNull())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QBrush(toQColor(colour::WindowFrame), Qt::SolidPattern));
}

void bltClearToBlack(QImage& image) {
    // On an opaque image a solid black fill clears every colour bit, like the clear-to-black raster
    // operation, but takes Qt's plain fill path: the raster operation goes through the generic span
    // path and costs some fifty times as much.
    image.fill(Qt::black);
}

void bltXor(QImage& dest, const QImage& source) {
    if (dest.isNull() || source.isNull())
        return;
    QPainter painter(&dest);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, source);
}

}  // namespace zelvo
