#pragma once
// TLabel: text drawn on its parent's surface (no background of its own), sized to its text. A
// right-aligned label keeps its right edge and grows or shrinks to the left.

#include <QLabel>
#include <QString>
#include <functional>

#include "probes/Colour.h"

namespace zelvo {

class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    // Stores the text and sizes the label to it. Hides QLabel::setText so every write re-sizes.
    void setText(const QString& text);

    ColourValue fontColor() const { return fontColor_; }
    void setFontColor(ColourValue value);

    // Left or right; the text is always drawn at the top.
    bool rightJustify() const { return rightJustify_; }
    void setRightJustify(bool value);

    // The size the text needs in the label's font: the widest line by the number of lines.
    QSize textSize() const;

    // Runs after the label's own handling of a mouse press, for any button.
    std::function<void()> OnMouseDown;

    // Measures the text now. A label that has never been shown keeps the size it was placed with,
    // so a window's hidden pages load no fonts at start-up; showing it measures it.
    void realise();
    bool realised() const { return realised_; }

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyColours();
    void adjustBounds();

    ColourValue fontColor_ = colour::WindowText;
    bool rightJustify_ = false;
    bool realised_ = false;
};

}  // namespace zelvo
