#include "ui/PngResource.h"

#include <QImageReader>

namespace zelvo {

QImage readPngResource(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace zelvo
