#include "GaugeRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace zelvo::raster {

namespace {

using i64 = std::int64_t;

// The doubled offset of pixel `pixel`'s centre from a centre at doubled coordinate `centre2`, on
// either axis.
i64 pixelOffset(i64 pixel, i64 centre2) {
    return 2 * pixel + 1 - centre2;
}

// Coordinates below are doubled so that pixel centres (x + 0.5) and the centre of an even-sized box
// are integers and every test is exact. A pixel is inside when its centre lies within the ellipse;
// being convex, the ellipse covers one run of pixels per row, worked out once per row.
class Ellipse {
public:
    explicit Ellipse(const Box& box)
        : box_(box),
          w_(i64(box.right) - box.left),
          h_(i64(box.bottom) - box.top),
          cx2_(i64(box.left) + box.right),
          cy2_(i64(box.top) + box.bottom) {
        if (!drawable())
            return;
        runs_.reserve(std::size_t(h_));
        for (i64 y = box.top; y < box.bottom; ++y)
            runs_.push_back(runOf(y));
    }

    // A box whose area reaches 2^31 cannot come from an image Qt can allocate, and would overflow
    // the exact test; it draws nothing.
    bool drawable() const { return w_ > 0 && h_ > 0 && w_ * h_ < (i64(1) << 31); }

    bool inside(i64 x, i64 y) const {
        if (y < box_.top || y >= box_.bottom)
            return false;
        const Run& run = runs_[std::size_t(y - box_.top)];
        return x >= run.first && x <= run.last;
    }

    // The inside pixels of row y, first > last when there are none.
    struct Run {
        i64 first, last;
    };
    Run run(i64 y) const {
        if (y < box_.top || y >= box_.bottom)
            return {1, 0};
        return runs_[std::size_t(y - box_.top)];
    }

    // The interior pixels of row y: both horizontal neighbours inside, and the pixels above and
    // below. The rest of the row's run is the outline.
    Run interior(i64 y) const {
        const Run row = run(y);
        const Run above = run(y - 1);
        const Run below = run(y + 1);
        return {std::max({row.first + 1, above.first, below.first}), std::min({row.last - 1, above.last, below.last})};
    }

    EllipsePixel classify(i64 x, i64 y) const {
        if (!inside(x, y))
            return EllipsePixel::Outside;
        const Run middle = interior(y);
        return x >= middle.first && x <= middle.last ? EllipsePixel::Interior : EllipsePixel::Outline;
    }

    // Offsets of pixel centres and points from the centre, doubled.
    i64 offsetX(i64 x) const { return pixelOffset(x, cx2_); }
    i64 offsetY(i64 y) const { return pixelOffset(y, cy2_); }
    i64 pointX(i64 x) const { return 2 * x - cx2_; }
    i64 pointY(i64 y) const { return 2 * y - cy2_; }
    i64 cx2() const { return cx2_; }
    i64 cy2() const { return cy2_; }
    const Box& box() const { return box_; }

private:
    // Pixel x of row y is inside when dx^2 h^2 + dy^2 w^2 <= w^2 h^2, dx and dy being the doubled
    // offsets of its centre; dx runs over numbers of one parity only.
    Run runOf(i64 y) const {
        const i64 dy = offsetY(y);
        const i64 room = w_ * w_ * h_ * h_ - dy * dy * w_ * w_;
        if (room < 0)
            return {1, 0};
        const i64 limit = room / (h_ * h_);  // dx^2 h^2 <= room  <=>  dx^2 <= floor(room / h^2)
        i64 dx = i64(std::sqrt(double(limit)));
        while (dx * dx > limit)
            --dx;
        while ((dx + 1) * (dx + 1) <= limit)
            ++dx;
        if (((dx + 1 - cx2_) & 1) != 0)  // the offset of a pixel centre has the parity of 1 - cx2
            --dx;
        if (dx < 0)
            return {1, 0};
        return {(cx2_ - 1 - dx) / 2, (cx2_ - 1 + dx) / 2};
    }

    Box box_;
    i64 w_, h_, cx2_, cy2_;
    std::vector<Run> runs_;
};

// Direct pixel access to an RGB32 image, taken once per shape rather than once per pixel.
class Canvas {
public:
    explicit Canvas(QImage& image)
        : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()), height_(image.height()) {}

    int width() const { return width_; }
    int height() const { return height_; }

    void plot(i64 x, i64 y, QRgb colour) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = colour | 0xFF000000u;
    }

private:
    uchar* bits_;
    qsizetype stride_;
    int width_, height_;
};

// Visits every pixel of the ellipse that also lies on the canvas, with what it is to the ellipse.
template <typename Visit>
void forEachEllipsePixel(const Canvas& canvas, const Ellipse& ellipse, Visit visit) {
    const Box& box = ellipse.box();
    const int y0 = std::max(box.top, 0);
    const int y1 = std::min(box.bottom, canvas.height());
    for (int y = y0; y < y1; ++y) {
        const Ellipse::Run run = ellipse.run(y);
        const Ellipse::Run middle = ellipse.interior(y);
        const int x0 = int(std::max<i64>(run.first, 0));
        const int x1 = int(std::min<i64>(run.last, canvas.width() - 1));
        for (int x = x0; x <= x1; ++x)
            visit(x, y, x >= middle.first && x <= middle.last ? EllipsePixel::Interior : EllipsePixel::Outline);
    }
}

i64 floorDiv(i64 a, i64 b) {
    i64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// A direction on screen (y down), compared by the angle it makes counter-clockwise (as seen on
// screen) from a reference direction.
struct Direction {
    i64 x, y;
};

i64 cross(Direction a, Direction b) {
    // Screen y points down, so a positive value here means b lies counter-clockwise of a on screen.
    return a.y * b.x - a.x * b.y;
}
i64 dot(Direction a, Direction b) {
    return a.x * b.x + a.y * b.y;
}

class AngularRange {
public:
    AngularRange(Direction start, Direction end) : start_(start), end_(end) {
        const bool degenerate = (start.x == 0 && start.y == 0) || (end.x == 0 && end.y == 0);
        // Same ray (or no ray at all): the whole ellipse.
        full_ = degenerate || (cross(start, end) == 0 && dot(start, end) > 0);
    }

    bool full() const { return full_; }

    bool contains(Direction v) const {
        if (full_ || (v.x == 0 && v.y == 0))
            return true;
        return !less(end_, v);
    }

private:
    // 0 for angles in [0, pi) from the start ray, 1 for [pi, 2 pi).
    int half(Direction v) const {
        const i64 c = cross(start_, v);
        return (c > 0 || (c == 0 && dot(start_, v) > 0)) ? 0 : 1;
    }
    bool less(Direction a, Direction b) const {
        const int ha = half(a);
        const int hb = half(b);
        if (ha != hb)
            return ha < hb;
        return cross(a, b) > 0;
    }

    Direction start_, end_;
    bool full_ = false;
};

// One axis of a ray's walk: the box's pixels along it, the ray's direction on it, and the
// ellipse's doubled centre on it.
struct RayAxis {
    int first, end;
    i64 direction;
    i64 centre2;
};

// Steps one pixel at a time along `major`, the axis the ray moves faster along, and hands `plot`
// each pixel on the ray ahead of the centre as (major, minor) coordinates.
template <typename Plot>
void walkRay(const RayAxis& major, const RayAxis& minor, Plot plot) {
    for (int m = major.first; m < major.end; ++m) {
        const i64 offset = pixelOffset(m, major.centre2);
        if (offset * major.direction < 0)
            continue;
        plot(m, floorDiv(minor.centre2 * major.direction + offset * minor.direction, 2 * major.direction));
    }
}

// The pixels along a ray from the ellipse's centre to its edge, one per step along the ray's
// major axis, kept to the ellipse.
void drawRadius(Canvas& canvas, const Ellipse& ellipse, Direction d, QRgb pen) {
    if (d.x == 0 && d.y == 0)
        return;
    const Box& box = ellipse.box();
    const RayAxis x{box.left, box.right, d.x, ellipse.cx2()};
    const RayAxis y{box.top, box.bottom, d.y, ellipse.cy2()};
    const auto plotInside = [&](i64 px, i64 py) {
        if (ellipse.inside(px, py))
            canvas.plot(px, py, pen);
    };
    if (std::abs(d.x) >= std::abs(d.y))
        walkRay(x, y, plotInside);
    else
        walkRay(y, x, [&](i64 py, i64 px) { plotInside(px, py); });
}

}  // namespace

EllipsePixel classifyEllipsePixel(const Box& box, int x, int y) {
    const Ellipse ellipse(box);
    if (!ellipse.drawable())
        return EllipsePixel::Outside;
    return ellipse.classify(x, y);
}

std::vector<Span> ellipseSpans(const Box& box) {
    const Ellipse ellipse(box);
    std::vector<Span> spans;
    if (!ellipse.drawable())
        return spans;
    spans.reserve(std::size_t(box.bottom - box.top));
    for (int y = box.top; y < box.bottom; ++y) {
        const Ellipse::Run run = ellipse.run(y);
        spans.push_back(run.first > run.last ? Span{} : Span{int(run.first), int(run.last)});
    }
    return spans;
}

void drawEllipse(QImage& image, const Box& box, QRgb brush, QRgb pen) {
    const Ellipse ellipse(box);
    if (!ellipse.drawable() || image.isNull())
        return;
    Canvas canvas(image);
    forEachEllipsePixel(canvas, ellipse, [&](int x, int y, EllipsePixel kind) {
        switch (kind) {
            case EllipsePixel::Interior:
                canvas.plot(x, y, brush);
                break;
            case EllipsePixel::Outline:
                canvas.plot(x, y, pen);
                break;
            case EllipsePixel::Outside:
                break;
        }
    });
}

void drawPie(QImage& image, const Box& box, QPoint start, QPoint end, QRgb brush, QRgb pen) {
    const Ellipse ellipse(box);
    if (!ellipse.drawable() || image.isNull())
        return;
    const Direction startRay{ellipse.pointX(start.x()), ellipse.pointY(start.y())};
    const Direction endRay{ellipse.pointX(end.x()), ellipse.pointY(end.y())};
    const AngularRange range(startRay, endRay);
    Canvas canvas(image);
    forEachEllipsePixel(canvas, ellipse, [&](int x, int y, EllipsePixel kind) {
        if (!range.contains({ellipse.offsetX(x), ellipse.offsetY(y)}))
            return;
        canvas.plot(x, y, kind == EllipsePixel::Interior ? brush : pen);
    });
    if (!range.full()) {
        drawRadius(canvas, ellipse, startRay, pen);
        drawRadius(canvas, ellipse, endRay, pen);
    }
}

void drawLine(QImage& image, QPoint from, QPoint to, QRgb pen) {
    if (image.isNull())
        return;
    i64 x = from.x();
    i64 y = from.y();
    const i64 dx = std::abs(i64(to.x()) - x);
    const i64 dy = -std::abs(i64(to.y()) - y);
    const int sx = x < to.x() ? 1 : -1;
    const int sy = y < to.y() ? 1 : -1;
    i64 err = dx + dy;
    Canvas canvas(image);
    while (x != to.x() || y != to.y()) {
        canvas.plot(x, y, pen);
        const i64 e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace zelvo::raster
