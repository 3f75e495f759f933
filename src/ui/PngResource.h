#pragma once
// The program's own pictures, all PNG files among its resources.

#include <QImage>
#include <QString>

namespace zelvo {

// Reads the PNG picture at `path` (":/..."); a null image when it cannot be read. Only the PNG
// reader is asked: left to guess the format, the toolkit would load every image-format plugin
// it has to ask each one, which costs start-up time and memory.
QImage readPngResource(const QString& path);

}  // namespace zelvo
