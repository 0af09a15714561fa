#pragma once

#include <QColor>
#include <QRectF>

#include <cstdint>

class QPainter;
class QPalette;

namespace tarvo {

// The disc part of the shaped label: a shape that draws the largest circle
// that fits its rectangle, centred in it, with a fill and a border.
//
// Each setter takes a value only when the shape can draw it; a value it
// cannot draw (a style outside its table, a width below 1, no valid colour)
// leaves that setting as it was, so the shape keeps its last good look.
class CircleShape {
public:
    CircleShape();

    // The shape's rectangle in twips, relative to the control.
    QRectF geometry() const { return m_geometry; }
    void setGeometry(const QRectF& twips) { m_geometry = twips; }

    // 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 inside solid.
    void setBorderStyle(std::int16_t style);
    void setBorderColor(std::uint32_t oleColor, const QPalette& palette);
    // In pixels.
    void setBorderWidth(std::int16_t width);
    // 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 upward diagonal,
    // 5 downward diagonal, 6 cross, 7 diagonal cross.
    void setFillStyle(std::int16_t style);
    void setFillColor(std::uint32_t oleColor, const QPalette& palette);

    // Draws the fill, then the border, over what the painter already holds.
    void draw(QPainter& painter) const;

private:
    QRectF discInPixels() const;
    void drawFill(QPainter& painter, const QRectF& disc) const;
    void drawBorder(QPainter& painter, const QRectF& disc) const;

    QRectF m_geometry;
    std::int16_t m_borderStyle;
    QColor m_borderColor;
    std::int16_t m_borderWidth;
    std::int16_t m_fillStyle;
    QColor m_fillColor;
};

} // namespace tarvo
