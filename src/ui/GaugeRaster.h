#pragma once
// Pixel-exact drawing of the gauge's shapes on an RGB32 image, following the device rules the gauge
// was designed against: a bounding box excludes its right and bottom edges, a line leaves out its
// last pixel, and a pie's arc is exactly the outline of the ellipse in the same box. Qt's aliased
// drawPie and drawEllipse trace different outlines, so a slice drawn over a disc with them leaves
// a ragged edge; here one test decides every ellipse pixel for both.

#include <QImage>
#include <QPoint>
#include <vector>

namespace zelvo::raster {

// A bounding box by its corners; right and bottom are exclusive.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum class EllipsePixel { Outside, Interior, Outline };

// What pixel (x, y) is to the ellipse inscribed in `box`: inside when its centre lies within the
// ellipse through the box's edges; on the outline when it is inside and one of its four
// neighbours is not.
EllipsePixel classifyEllipsePixel(const Box& box, int x, int y);

// The pixels of one row that lie inside an ellipse, first to last; none when first > last.
struct Span {
    int first = 1;
    int last = 0;
};

// The inside pixels of the ellipse in `box`, row by row from box.top to box.bottom - 1; empty
// when the box draws nothing.
std::vector<Span> ellipseSpans(const Box& box);

// The ellipse in `box`: interior in `brush`, outline in `pen`.
void drawEllipse(QImage& image, const Box& box, QRgb brush, QRgb pen);

// The wedge of the ellipse in `box` from the ray through `start` counter-clockwise (on screen) to
// the ray through `end`, both rays from the ellipse's centre. Its ellipse pixels take `brush`, its
// share of the outline and the two radii take `pen`. When both rays point the same way the wedge
// is the whole ellipse.
void drawPie(QImage& image, const Box& box, QPoint start, QPoint end, QRgb brush, QRgb pen);

// A one-pixel line from `from` towards `to`, leaving out the pixel at `to`.
void drawLine(QImage& image, QPoint from, QPoint to, QRgb pen);

}  // namespace zelvo::raster
