#include "CircleShape.h"

#include "ui/OleColor.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace tarvo {
namespace {

enum BorderStyleValue : std::int16_t { BorderNone = 0, BorderInsideSolid = 6 };
enum FillStyleValue : std::int16_t { FillSolid = 0, FillTransparent = 1, LastFillStyle = 7 };

// A new shape: a solid black-bordered circle with the designer's fill, the
// active title-bar colour.
constexpr std::int16_t kInitialBorderStyle = 1;
constexpr std::uint32_t kInitialBorderColor = 0x80000008; // window text
constexpr std::int16_t kInitialBorderWidth = 1;
constexpr std::int16_t kInitialFillStyle = FillSolid;
constexpr std::uint32_t kInitialFillColor = 0x80000002; // active title bar

Qt::PenStyle penStyleOf(std::int16_t borderStyle)
{
    switch (borderStyle) {
    case 2: return Qt::DashLine;
    case 3: return Qt::DotLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

// Qt's BDiagPattern runs from lower left to upper right ("/"), FDiagPattern
// from upper left to lower right ("\").
Qt::BrushStyle brushStyleOf(std::int16_t fillStyle)
{
    switch (fillStyle) {
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::BDiagPattern;
    case 5: return Qt::FDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

void setColorIfValid(QColor& target, std::uint32_t oleColor, const QPalette& palette)
{
    if (const std::optional<QColor> color = ui::oleColorToQColor(oleColor, palette))
        target = *color;
}

} // namespace

CircleShape::CircleShape()
    : m_borderStyle(kInitialBorderStyle), m_borderWidth(kInitialBorderWidth), m_fillStyle(kInitialFillStyle)
{
    const QPalette palette = QGuiApplication::palette();
    setColorIfValid(m_borderColor, kInitialBorderColor, palette);
    setColorIfValid(m_fillColor, kInitialFillColor, palette);
}

void CircleShape::setBorderStyle(std::int16_t style)
{
    if (style >= BorderNone && style <= BorderInsideSolid)
        m_borderStyle = style;
}

void CircleShape::setBorderColor(std::uint32_t oleColor, const QPalette& palette)
{
    setColorIfValid(m_borderColor, oleColor, palette);
}

void CircleShape::setBorderWidth(std::int16_t width)
{
    if (width >= 1)
        m_borderWidth = width;
}

void CircleShape::setFillStyle(std::int16_t style)
{
    if (style >= FillSolid && style <= LastFillStyle)
        m_fillStyle = style;
}

void CircleShape::setFillColor(std::uint32_t oleColor, const QPalette& palette)
{
    setColorIfValid(m_fillColor, oleColor, palette);
}

void CircleShape::draw(QPainter& painter) const
{
    const QRectF disc = discInPixels();
    if (disc.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawFill(painter, disc);
    drawBorder(painter, disc);
    painter.restore();
}

QRectF CircleShape::discInPixels() const
{
    const QRectF shape(m_geometry.left() / ui::twipsPerPixelX(), m_geometry.top() / ui::twipsPerPixelY(),
                       m_geometry.width() / ui::twipsPerPixelX(), m_geometry.height() / ui::twipsPerPixelY());
    const double diameter = std::min(shape.width(), shape.height());
    QRectF disc(0, 0, diameter, diameter);
    disc.moveCenter(shape.center());
    return disc;
}

void CircleShape::drawFill(QPainter& painter, const QRectF& disc) const
{
    if (m_fillStyle == FillTransparent)
        return;
    // Patterns are drawn in the fill colour only; the background painted
    // before shows between their lines.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(m_fillColor, brushStyleOf(m_fillStyle)));
    painter.drawEllipse(disc);
}

void CircleShape::drawBorder(QPainter& painter, const QRectF& disc) const
{
    if (m_borderStyle == BorderNone)
        return;
    const double width = m_borderWidth;
    const double radius = disc.width() / 2.0;
    double inset = 0.0;
    if (m_borderStyle == BorderInsideSolid) {
        // The whole line inside the outline; a line wider than the radius
        // fills the disc.
        inset = std::min(width, radius) / 2.0;
    } else if (m_borderWidth % 2 != 0) {
        // An odd width centred on pixel centres covers whole pixels.
        inset = 0.5;
    }
    QPen pen(m_borderColor, m_borderStyle == BorderInsideSolid ? std::min(width, radius) : width,
             penStyleOf(m_borderStyle), Qt::FlatCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(disc.adjusted(inset, inset, -inset, -inset));
}

} // namespace tarvo
