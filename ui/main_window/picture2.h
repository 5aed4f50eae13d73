#pragma once

#include "engine/color.h"

#include <QFrame>
#include <QImage>
#include <QPixmap>

namespace rainbow::ui {

/// A picture box: a background picture with a persistent drawing on top, addressed in a user
/// scale. Both layers live off screen, so what was drawn survives every repaint.
class Picture2 : public QFrame {
    Q_OBJECT

public:
    /// A box with a flat one-pixel border and no picture, scaled in pixels.
    explicit Picture2(QWidget *parent = nullptr);

    /// Makes (left, top) the top-left and (right, bottom) the bottom-right corner of the client area.
    /// A degenerate scale (left == right or top == bottom) is ignored.
    void setScale(double left, double top, double right, double bottom);

    /// Removes the drawing; the background picture stays.
    void cls();

    /// A line one pixel wide from (x1, y1) to (x2, y2) in user units, parallel to an axis (the
    /// bar needs no other; throws std::invalid_argument for a slanted one); the end point itself is
    /// left out, as Windows draws lines.
    void line(double x1, double y1, double x2, double y2, PackedColor color);

    /// Shows the picture at the top-left corner of the client area, unscaled, and discards the
    /// drawing so that the picture alone shows. The scale stays.
    void setPicture(const QPixmap &picture);

    /// The client area as it shows: background colour, picture, drawing.
    QImage image() const;

    /// The client-area pixel column of the user x coordinate (nearest, for the current scale).
    int pixelColumn(double x) const;

    /// The client-area pixel row of the user y coordinate (nearest, for the current scale).
    int pixelRow(double y) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureDrawing();
    void paintClientArea(QPainter &painter) const;

    QPixmap m_picture;
    QImage m_drawing; // transparent where nothing is drawn
    double m_left = 0;
    double m_top = 0;
    double m_right = 0; // 0 until a scale is set: pixels
    double m_bottom = 0;
};

} // namespace rainbow::ui
