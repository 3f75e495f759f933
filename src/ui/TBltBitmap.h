#pragma once
// The gauge's off-screen images and the block transfers between them. Images are opaque RGB32, so
// the bitwise operations act on the colour bits alone.

#include <QImage>

namespace zelvo {

// An overlay image of the gauge's paint pipeline.
class TBltBitmap : public QImage {
public:
    TBltBitmap() = default;

    // Takes the template's width and height and fills the whole bitmap in the system window-frame
    // colour.
    void MakeLike(const QImage& templ);
};

// Sets every pixel of `image` to black (every colour bit to 0).
void bltClearToBlack(QImage& image);
// Combines `source` into `dest` at (0, 0) by bitwise exclusive-or of the colour values.
void bltXor(QImage& dest, const QImage& source);

}  // namespace zelvo
