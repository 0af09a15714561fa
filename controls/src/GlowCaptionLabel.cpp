#include "ui/InputMasks.h"
#include "GlowCaptionLabel.h"

#include "automation/AutomationError.h"
#include "ui/OleColor.h"
#include "ui/Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <optional>

namespace tarvo {
namespace {

// A new label's settings, as the platform label starts: button-face back,
// button-text caption, opaque, no border, left-aligned, three-dimensional.
constexpr std::uint32_t kInitialBackColor = 0x8000000F;
constexpr std::uint32_t kInitialForeColor = 0x80000012;
constexpr std::int16_t kInitialBackStyle = 1;
constexpr std::int16_t kInitialBorderStyle = 0;
constexpr std::int16_t kInitialAlignment = 0;
constexpr std::int16_t kInitialAppearance = 1;

// The system colours of borders and of the embossed disabled text.
constexpr std::uint32_t kWindowFrame = 0x80000006;
constexpr std::uint32_t kButtonShadow = 0x80000010;
constexpr std::uint32_t kButtonHighlight = 0x80000014;
constexpr std::uint32_t kDarkShadow = 0x80000015;
constexpr std::uint32_t kLight = 0x80000016;

std::int16_t checkedChoice(std::int32_t value, std::int32_t highest)
{
    if (value < 0 || value > highest)
        automation::raiseError(automation::ErrorNumber::InvalidPropertyValue);
    return static_cast<std::int16_t>(value);
}

Qt::Alignment horizontalAlignment(std::int16_t alignment)
{
    switch (alignment) {
    case 1: return Qt::AlignRight;
    case 2: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

} // namespace

GlowCaptionLabel::GlowCaptionLabel(automation::FontRef font, QWidget* parent)
    : QWidget(parent),
      m_BackColor(kInitialBackColor),
      m_ForeColor(kInitialForeColor),
      m_Font(font ? std::move(font) : std::make_shared<automation::StdFont>()),
      m_BackStyle(kInitialBackStyle),
      m_BorderStyle(kInitialBorderStyle),
      m_Alignment(kInitialAlignment),
      m_Appearance(kInitialAppearance)
{
    // An opaque label paints every pixel itself, so its paints never reach
    // the control beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, m_BackStyle == 1);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

// ---- Settings ----

QColor GlowCaptionLabel::colorOf(std::uint32_t color) const
{
    return ui::oleColorToQColor(color, palette()).value_or(QColor(Qt::black));
}

std::uint32_t GlowCaptionLabel::checkedColor(std::uint32_t color) const
{
    if (!ui::oleColorToQColor(color, palette()))
        automation::raiseError(automation::ErrorNumber::InvalidPropertyValue);
    return color;
}

void GlowCaptionLabel::setBackColor(std::uint32_t color)
{
    if (checkedColor(color) == m_BackColor)
        return;
    m_BackColor = color;
    update();
}

// Glow ticks write the same colour over and over while a stage is held: an
// unchanged colour costs no paint.
void GlowCaptionLabel::setForeColor(std::uint32_t color)
{
    if (checkedColor(color) == m_ForeColor)
        return;
    m_ForeColor = color;
    update();
}

bool GlowCaptionLabel::Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

void GlowCaptionLabel::setEnabledState(bool enabled)
{
    setEnabled(enabled);
    m_clickPending = false;
}

void GlowCaptionLabel::setFontRef(automation::FontRef font)
{
    if (!font)
        automation::raiseError(automation::ErrorNumber::InvalidPropertyValue);
    m_Font = std::move(font);
    update();
}

void GlowCaptionLabel::setBackStyle(std::int32_t style)
{
    m_BackStyle = checkedChoice(style, 1);
    setAttribute(Qt::WA_OpaquePaintEvent, m_BackStyle == 1);
    update();
}

void GlowCaptionLabel::setBorderStyle(std::int32_t style)
{
    m_BorderStyle = checkedChoice(style, 1);
    update();
}

void GlowCaptionLabel::setAlignment(std::int32_t alignment)
{
    m_Alignment = checkedChoice(alignment, 2);
    update();
}

void GlowCaptionLabel::setAppearance(std::int32_t appearance)
{
    m_Appearance = checkedChoice(appearance, 1);
    update();
}

void GlowCaptionLabel::setCaption(const QString& caption)
{
    m_Caption = caption;
    update();
}

void GlowCaptionLabel::Refresh() { repaint(); }

// ---- Painting ----

int GlowCaptionLabel::borderWidth() const
{
    if (m_BorderStyle == 0)
        return 0;
    return m_Appearance == 1 ? 2 : 1;
}

// A flat border is one line in the window-frame colour; a 3-D one is the
// sunken edge of the classic desktop, two lines deep.
void GlowCaptionLabel::drawBorder(QPainter& painter) const
{
    const QRect outer = rect();
    if (m_Appearance == 0) {
        painter.setPen(colorOf(kWindowFrame));
        painter.drawRect(outer.adjusted(0, 0, -1, -1));
        return;
    }
    const auto edge = [&painter](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    };
    edge(outer, colorOf(kButtonShadow), colorOf(kButtonHighlight));
    edge(outer.adjusted(1, 1, -1, -1), colorOf(kDarkShadow), colorOf(kLight));
}

// Disabled text is embossed: a highlight copy one pixel down and right,
// then the text itself in the shadow colour. Only the label's own state
// counts: a disabled container leaves the text as it is.
void GlowCaptionLabel::drawCaption(QPainter& painter, const QRect& box) const
{
    const int flags = static_cast<int>(horizontalAlignment(m_Alignment) | Qt::AlignTop) | Qt::TextWordWrap
                      | Qt::TextShowMnemonic;
    painter.setFont(m_Font->toQFont());
    if (Enabled()) {
        painter.setPen(colorOf(m_ForeColor));
        painter.drawText(box, flags, m_Caption);
        return;
    }
    painter.setPen(colorOf(kButtonHighlight));
    painter.drawText(box.translated(1, 1), flags, m_Caption);
    painter.setPen(colorOf(kButtonShadow));
    painter.drawText(box, flags, m_Caption);
}

void GlowCaptionLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (m_BackStyle == 1)
        painter.fillRect(rect(), colorOf(m_BackColor));
    if (m_BorderStyle == 1)
        drawBorder(painter);
    const int border = borderWidth();
    drawCaption(painter, rect().adjusted(border, border, -border, -border));
}

// ---- Mouse input ----

void GlowCaptionLabel::raiseMouseEvent(void (GlowCaptionLabel::*event)(std::int16_t&, std::int16_t&, float&, float&),
                                       std::int16_t button, const QMouseEvent& mouse)
{
    std::int16_t shift = ui::shiftMask(mouse.modifiers());
    float x = static_cast<float>(ui::pixelsToTwipsX(mouse.position().x()));
    float y = static_cast<float>(ui::pixelsToTwipsY(mouse.position().y()));
    emit(this->*event)(button, shift, x, y);
}

void GlowCaptionLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->buttons() == event->button())
        m_clickPending = true;
    raiseMouseEvent(&GlowCaptionLabel::MouseDown, ui::buttonMask(event->button()), *event);
}

// The second press of a double click raises DblClick instead of MouseDown;
// its release raises MouseUp but no second Click.
void GlowCaptionLabel::mouseDoubleClickEvent(QMouseEvent* /*event*/)
{
    m_clickPending = false;
    emit DblClick();
}

void GlowCaptionLabel::mouseMoveEvent(QMouseEvent* event)
{
    raiseMouseEvent(&GlowCaptionLabel::MouseMove, ui::buttonMask(event->buttons()), *event);
}

// Click follows the release of the last button, when the press began on the
// label and the pointer is still over it.
void GlowCaptionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    raiseMouseEvent(&GlowCaptionLabel::MouseUp, ui::buttonMask(event->button()), *event);
    if (event->buttons() != Qt::NoButton)
        return;
    const bool click = m_clickPending && rect().contains(event->position().toPoint());
    m_clickPending = false;
    if (click)
        emit Click();
}

} // namespace tarvo
