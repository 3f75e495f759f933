#pragma once
// TLabel: text drawn on its parent's surface (no background of its own), sized to its text. A
// right-aligned label keeps its right edge and grows or shrinks to the left.

#include <QLabel>
#include <QString>

#include "ui/TControl.h"

namespace zelvo {

class TLabel : public TControl<QLabel> {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    // Stores the text and sizes the label to it. Hides QLabel::setText so every write re-sizes.
    void setText(const QString& text);

    // Left or right; the text is always drawn at the top.
    bool rightJustify() const { return rightJustify_; }
    void setRightJustify(bool value);

    // The size the text needs in the label's font: the widest line by the number of lines.
    QSize textSize() const;

protected:
    void applyColours() override;
    void changeEvent(QEvent* event) override;
    // A label that has never been shown keeps the size it was placed with; realising measures it.
    void realiseNow() override { adjustBounds(); }

private:
    // No background of its own: the label's colour is its parent's.
    using TControl::color;
    using TControl::setColor;

    void adjustBounds();

    bool rightJustify_ = false;
};

}  // namespace zelvo
