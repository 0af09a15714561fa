#include "CaptionLabel.h"

#include "automation/StdFont.h"
#include "ui/OleColor.h"
#include "ui/Twips.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>
#include <optional>

namespace tarvo {
namespace {

constexpr int kTextFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

// The designer's label: its text, colour (active title-bar text) and place.
const QString kInitialText = QStringLiteral("Label1");
constexpr std::uint32_t kInitialForeColor = 0x80000009;
constexpr double kInitialLeft = 600;
constexpr double kInitialTop = 840;

// A new part starts in the automation runtime's default font (MS Sans Serif
// 8.25 pt; fontconfig substitutes a sans face where it is missing). The
// caption keeps its size and styles for good: paints change only the face.
QFont initialFont() { return automation::StdFont().toQFont(); }

} // namespace

CaptionLabel::CaptionLabel()
    : m_text(kInitialText), m_font(initialFont()), m_left(kInitialLeft), m_top(kInitialTop)
{
    setForeColor(kInitialForeColor, QGuiApplication::palette());
    autoSize();
}

void CaptionLabel::setText(const QString& text)
{
    m_text = text;
    autoSize();
}

void CaptionLabel::setFaceName(const QString& faceName)
{
    if (faceName.isEmpty() || faceName == m_font.family())
        return;
    m_font.setFamily(faceName);
    autoSize();
}

void CaptionLabel::setForeColor(std::uint32_t oleColor, const QPalette& palette)
{
    if (const std::optional<QColor> color = ui::oleColorToQColor(oleColor, palette))
        m_foreColor = *color;
}

QRectF CaptionLabel::geometry() const { return QRectF(m_left, m_top, m_width, m_height); }

void CaptionLabel::move(double leftTwips, double topTwips)
{
    m_left = leftTwips;
    m_top = topTwips;
}

void CaptionLabel::draw(QPainter& painter) const
{
    const QRectF box(m_left / ui::twipsPerPixelX(), m_top / ui::twipsPerPixelY(), m_width / ui::twipsPerPixelX(),
                     m_height / ui::twipsPerPixelY());
    painter.save();
    painter.setFont(m_font);
    painter.setPen(m_foreColor);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | kTextFlags, m_text);
    painter.restore();
}

// The label measures whole pixels, as the screen shows it.
void CaptionLabel::autoSize()
{
    const QSizeF pixels = QFontMetricsF(m_font).size(kTextFlags, m_text);
    m_width = ui::pixelsToTwipsX(std::ceil(pixels.width()));
    m_height = ui::pixelsToTwipsY(std::ceil(pixels.height()));
}

} // namespace tarvo
