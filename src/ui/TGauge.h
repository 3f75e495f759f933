#pragma once
// TGauge: a value between a minimum and a maximum shown as a pie slice, a bar, a needle or only a
// per-cent text. The picture is composed off screen and reaches the screen in one copy; a property
// write that stores a new value repaints at once, before the write returns.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <utility>

#include "probes/Colour.h"

namespace zelvo {

enum TGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
// Any value other than bsSingle draws like bsNone.
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// 0 when whole is 0, otherwise trunc(part * 100 / whole), held to the int range.
int PercentOf(std::int64_t part, std::int64_t whole);
// trunc(whole * (percentage * 0.01)), held to the int range (the bar kinds).
int ScaleByPercent(int percentage, int whole);
// Where the pie's arc starts for a percentage, on an ellipse of half-sizes halfW and halfH whose
// box starts at (0, 0); rounded to the nearest pixel, halves to even.
QPoint PieStartPoint(int percentage, int halfW, int halfH);

class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    // Throws EInvalidOperation when above MaxValue (unless loading).
    void setMinValue(int value);
    int MaxValue() const { return maxValue_; }
    // Throws EInvalidOperation when below MinValue (unless loading).
    void setMaxValue(int value);
    int Progress() const { return progress_; }
    // Clamps to MinValue..MaxValue; repaints only when Percentage changes.
    void setProgress(int value);
    TGaugeKind Kind() const { return kind_; }
    void setKind(TGaugeKind value);
    bool ShowText() const { return showText_; }
    void setShowText(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle value);
    ColourValue ForeColor() const { return foreColor_; }
    void setForeColor(ColourValue value);
    ColourValue BackColor() const { return backColor_; }
    void setBackColor(ColourValue value);

    // The area outside the ellipse in the pie and needle kinds. Taken from the parent's background
    // until a colour is written.
    ColourValue Color() const;
    void setColor(ColourValue value);
    bool ParentColor() const { return parentColor_; }
    void setParentColor(bool value);

    int Percentage() const;

    // On while the control's properties are read from a stored form description: the range
    // setters then accept any value without checking it against the other end.
    bool Loading() const { return loading_; }
    void setLoading(bool value) { loading_ = value; }

    // The control's whole picture, composed from the properties alone, at `ratio` device pixels
    // per pixel: the rules below applied to the size in device pixels, so that the picture maps
    // one to one onto the screen's pixels. The image carries the ratio.
    QImage renderImage(qreal ratio = 1.0) const;

    // How many times the control has painted itself on screen.
    int paintCount() const { return paintCount_; }

Q_SIGNALS:
    // The shown share changed (a new progress or range).
    void percentageChanged(int percentage);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The paint rectangle as corners, right and bottom exclusive, and the width of the border
    // around it (0 without one).
    struct Bounds {
        int left, top, right, bottom, border;
    };

    // The picture on an image of `device` size (device pixels, `ratio` of them per pixel).
    QImage compose(QSize device, qreal ratio) const;

    void repaintNow();
    // Raises percentageChanged when the share differs from `before`.
    void announcePercentage(int before);
    template <typename T>
    void assign(T& field, T value);

    // Right and bottom edges (W, H) of the round kinds' ellipse box: the paint rectangle's width and
    // height, plus the border when bordered, which makes them the rectangle's own right and bottom.
    static std::pair<int, int> ellipseSize(const Bounds& r);
    void drawPie(QImage& image, const Bounds& r) const;
    void drawNeedle(QImage& image, const Bounds& r) const;
    void drawHorizontalBar(QImage& image, const Bounds& r) const;
    void drawVerticalBar(QImage& image, const Bounds& r) const;
    void drawText(QImage& image, const Bounds& r, qreal ratio) const;

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TGaugeKind kind_ = gkHorizontalBar;
    bool showText_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    ColourValue foreColor_ = colour::Black;
    ColourValue backColor_ = colour::White;
    ColourValue color_ = colour::ButtonFace;
    bool parentColor_ = true;
    bool loading_ = false;
    int paintCount_ = 0;
};

}  // namespace zelvo
