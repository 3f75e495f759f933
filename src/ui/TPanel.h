#pragma once
// TPanel: a flat rectangle in one colour, with an optional one-pixel border and an optional caption
// drawn centred in the panel's font. Children are placed relative to the client area, which starts
// inside the border.

#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>

#include "ui/TControl.h"

class QPainter;

namespace zelvo {

class TPanel : public TColoured<QWidget> {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& value);

    // A one-pixel border drawn in this colour (the window-frame colour for a single-line border);
    // none when empty. The client area shrinks by the border on every side.
    std::optional<ColourValue> borderColor() const { return borderColor_; }
    void setBorderColor(std::optional<ColourValue> value);

    // Where a child's (0, 0) lies in the panel's own coordinates.
    QPoint clientOrigin() const { return contentsRect().topLeft(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the panel with `painter`: its colour over `area`, its border and its caption.
    void paintPanel(QPainter& painter, const QRect& area);

private:
    QString caption_;
    std::optional<ColourValue> borderColor_;
};

}  // namespace zelvo
