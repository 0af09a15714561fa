#include "ui/InputMasks.h"
#include "tarvo/XShpLabel.h"

#include "CaptionLabel.h"
#include "CircleShape.h"
#include "tarvo/TypeLibrary.h"

#include "automation/AutomationError.h"
#include "automation/PropertyBag.h"
#include "system/CodePage.h"
#include "ui/OleColor.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <limits>

namespace tarvo {
namespace {

using automation::ParamType;
using automation::Variant;

// The values of a new instance, which are also the defaults of the stored keys.
constexpr std::uint32_t kDefaultForeColor = 0x80000009;         // active title-bar text
constexpr std::uint32_t kDefaultFillColor = 0x80000002;         // active title bar
constexpr std::uint32_t kDefaultDisabledFillColor = 0x80000003; // inactive title bar
constexpr std::uint32_t kDefaultDisabledForeColor = 0x80000013; // inactive title-bar text
constexpr std::uint32_t kDefaultBorderColor = 0;                // black
constexpr std::int16_t kDefaultBorderStyle = 0;                 // no border
constexpr std::int16_t kDefaultBorderWidth = 1;
constexpr std::int16_t kDefaultFillStyle = 0; // solid
const QString kDefaultCaption = QStringLiteral("Label1");

// The designer size of the control: 4800 x 3600 twips.
constexpr double kDesignerWidth = 4800;
constexpr double kDesignerHeight = 3600;

Variant styleVariant(std::int16_t style) { return style; }

// Styles travel as 32-bit enumerations but are kept in 16 bits.
std::int16_t narrowStyle(std::int32_t style)
{
    if (style < std::numeric_limits<std::int16_t>::min() || style > std::numeric_limits<std::int16_t>::max())
        automation::raiseError(automation::ErrorNumber::Overflow);
    return static_cast<std::int16_t>(style);
}

struct Look {
    std::uint32_t borderColor;
    std::int16_t borderStyle;
    std::int16_t borderWidth;
    std::uint32_t fillColor;
    std::int16_t fillStyle;
    automation::FontRef font;
    std::uint32_t foreColor;
};

// Hands the look to the parts in a fixed order. A part keeps its previous
// setting for any value it cannot draw, so painting never fails. Nothing
// here asks for a repaint.
void applyLookToParts(const Look& look, CircleShape& circle, CaptionLabel& caption, const QPalette& palette)
{
    circle.setBorderColor(look.borderColor, palette);
    circle.setBorderStyle(look.borderStyle);
    circle.setBorderWidth(look.borderWidth);
    circle.setFillColor(look.fillColor, palette);
    circle.setFillStyle(look.fillStyle);
    if (look.font)
        caption.setFaceName(look.font->name());
    caption.setForeColor(look.foreColor, palette);
}

// The virtual-key code of a key; letters and digits share Qt's codes.
std::int16_t keyCodeOf(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::int16_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<std::int16_t>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

} // namespace

XShpLabel::XShpLabel(QWidget* parent)
    : ui::UserControl(parent),
      shpCircle(std::make_unique<CircleShape>()),
      lblCaption(std::make_unique<CaptionLabel>()),
      m_ForeColor(kDefaultForeColor),
      m_BorderStyle(kDefaultBorderStyle),
      m_BorderColor(kDefaultBorderColor),
      m_BorderWidth(kDefaultBorderWidth),
      m_FillColor(kDefaultFillColor),
      m_FillStyle(kDefaultFillStyle),
      m_DisabledBorderColor(kDefaultBorderColor),
      m_DisabledBorderStyle(kDefaultBorderStyle),
      m_DisabledBorderWidth(kDefaultBorderWidth),
      m_DisabledFillColor(kDefaultDisabledFillColor),
      m_DisabledFillStyle(kDefaultFillStyle),
      m_DisabledForeColor(kDefaultDisabledForeColor)
{
    // The control paints every pixel itself and takes no keyboard focus: it is
    // an indicator, and a focus change on click would disturb the host's own
    // focus handling.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    resize(ui::twipsToPixelsX(kDesignerWidth), ui::twipsToPixelsY(kDesignerHeight));

    shpCircle->setGeometry(QRectF(0, 0, 0, 0));
    UpdateLayout();
}

XShpLabel::~XShpLabel() = default;

// ---- Properties ----

void XShpLabel::setForeColor(std::uint32_t New_ForeColor)
{
    m_ForeColor = New_ForeColor;
    notifyPropertyChanged(QStringLiteral("ForeColor"));
}

// The control's own state, not that of its host: the look follows what the
// host wrote, even while the host itself is disabled.
bool XShpLabel::Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

void XShpLabel::setEnabledProperty(bool New_Enabled)
{
    setEnabled(New_Enabled);
    notifyPropertyChanged(QStringLiteral("Enabled"));
    Refresh();
}

void XShpLabel::setFontRef(automation::FontRef New_Font)
{
    m_Font = std::move(New_Font);
    notifyPropertyChanged(QStringLiteral("Font"));
}

void XShpLabel::setBorderStyle(std::int32_t New_BorderStyle)
{
    m_BorderStyle = narrowStyle(New_BorderStyle);
    notifyPropertyChanged(QStringLiteral("BorderStyle"));
}

void XShpLabel::Refresh() { repaint(); }

void XShpLabel::setBorderColor(std::uint32_t New_BorderColor)
{
    m_BorderColor = New_BorderColor;
    notifyPropertyChanged(QStringLiteral("BorderColor"));
}

void XShpLabel::setBorderWidth(std::int16_t New_BorderWidth)
{
    m_BorderWidth = New_BorderWidth;
    notifyPropertyChanged(QStringLiteral("BorderWidth"));
}

QString XShpLabel::Caption() const { return lblCaption->text(); }

// The caption resizes to the new text but stays where the last layout put it.
void XShpLabel::setCaption(const QString& New_Caption)
{
    lblCaption->setText(New_Caption);
    notifyPropertyChanged(QStringLiteral("Caption"));
}

void XShpLabel::setFillColor(std::uint32_t New_FillColor)
{
    m_FillColor = New_FillColor;
    notifyPropertyChanged(QStringLiteral("FillColor"));
}

void XShpLabel::setFillStyle(std::int32_t New_FillStyle)
{
    m_FillStyle = narrowStyle(New_FillStyle);
    notifyPropertyChanged(QStringLiteral("FillStyle"));
}

void XShpLabel::setDisabledBorderColor(std::uint32_t New_DisabledBorderColor)
{
    m_DisabledBorderColor = New_DisabledBorderColor;
    notifyPropertyChanged(QStringLiteral("DisabledBorderColor"));
}

void XShpLabel::setDisabledBorderStyle(std::int32_t New_DisabledBorderStyle)
{
    m_DisabledBorderStyle = narrowStyle(New_DisabledBorderStyle);
    notifyPropertyChanged(QStringLiteral("DisabledBorderStyle"));
}

void XShpLabel::setDisabledBorderWidth(std::int16_t New_DisabledBorderWidth)
{
    m_DisabledBorderWidth = New_DisabledBorderWidth;
    notifyPropertyChanged(QStringLiteral("DisabledBorderWidth"));
}

void XShpLabel::setDisabledFillColor(std::uint32_t New_DisabledFillColor)
{
    m_DisabledFillColor = New_DisabledFillColor;
    notifyPropertyChanged(QStringLiteral("DisabledFillColor"));
}

void XShpLabel::setDisabledFillStyle(std::int32_t New_DisabledFillStyle)
{
    m_DisabledFillStyle = narrowStyle(New_DisabledFillStyle);
    notifyPropertyChanged(QStringLiteral("DisabledFillStyle"));
}

void XShpLabel::setDisabledFontRef(automation::FontRef New_DisabledFont)
{
    m_DisabledFont = std::move(New_DisabledFont);
    notifyPropertyChanged(QStringLiteral("DisabledFont"));
}

void XShpLabel::setDisabledForeColor(std::uint32_t New_DisabledForeColor)
{
    m_DisabledForeColor = New_DisabledForeColor;
    notifyPropertyChanged(QStringLiteral("DisabledForeColor"));
}

QRectF XShpLabel::captionGeometry() const { return lblCaption->geometry(); }

QFont XShpLabel::captionFont() const { return lblCaption->font(); }

// ---- Persistence ----

void XShpLabel::initProperties()
{
    m_ForeColor = kDefaultForeColor;
    m_Font = ambientFont();
    m_BorderStyle = kDefaultBorderStyle;
    m_BorderColor = kDefaultBorderColor;
    m_BorderWidth = kDefaultBorderWidth;
    m_FillColor = kDefaultFillColor;
    m_FillStyle = kDefaultFillStyle;
    m_DisabledBorderColor = kDefaultBorderColor;
    m_DisabledBorderStyle = kDefaultBorderStyle;
    m_DisabledBorderWidth = kDefaultBorderWidth;
    m_DisabledFillColor = kDefaultDisabledFillColor;
    m_DisabledFillStyle = kDefaultFillStyle;
    m_DisabledFont = ambientFont();
    m_DisabledForeColor = kDefaultDisabledForeColor;
}

// A stored instance starts from empty members, as one that was never
// initialised, so that a read that stops at a bad key leaves every later
// member empty rather than at a new instance's value.
void XShpLabel::clearMembers()
{
    m_ForeColor = 0;
    m_Font.reset();
    m_BorderStyle = 0;
    m_BorderColor = 0;
    m_BorderWidth = 0;
    m_FillColor = 0;
    m_FillStyle = 0;
    m_DisabledBorderColor = 0;
    m_DisabledBorderStyle = 0;
    m_DisabledBorderWidth = 0;
    m_DisabledFillColor = 0;
    m_DisabledFillStyle = 0;
    m_DisabledFont.reset();
    m_DisabledForeColor = 0;
}

// Keys in one order with one set of defaults, shared with writeProperties.
// The first value that cannot be converted stops the read with its error.
void XShpLabel::readProperties(const automation::PropertyBag& bag)
{
    clearMembers();
    m_ForeColor = automation::variantToColor(bag.readProperty(QStringLiteral("ForeColor"), automation::colorToVariant(kDefaultForeColor)));
    setEnabled(bag.readProperty(QStringLiteral("Enabled"), true).toBool());
    m_Font = automation::variantToFont(bag.readProperty(QStringLiteral("Font"), ambientFont()));
    m_BorderStyle = bag.readProperty(QStringLiteral("BorderStyle"), styleVariant(kDefaultBorderStyle)).toInteger();
    m_BorderColor = automation::variantToColor(bag.readProperty(QStringLiteral("BorderColor"), automation::colorToVariant(kDefaultBorderColor)));
    m_BorderWidth = bag.readProperty(QStringLiteral("BorderWidth"), kDefaultBorderWidth).toInteger();
    lblCaption->setText(bag.readProperty(QStringLiteral("Caption"), kDefaultCaption).toString());
    m_FillColor = automation::variantToColor(bag.readProperty(QStringLiteral("FillColor"), automation::colorToVariant(kDefaultFillColor)));
    m_FillStyle = bag.readProperty(QStringLiteral("FillStyle"), styleVariant(kDefaultFillStyle)).toInteger();
    m_DisabledBorderColor =
        automation::variantToColor(bag.readProperty(QStringLiteral("DisabledBorderColor"), automation::colorToVariant(kDefaultBorderColor)));
    m_DisabledBorderStyle =
        bag.readProperty(QStringLiteral("DisabledBorderStyle"), styleVariant(kDefaultBorderStyle)).toInteger();
    m_DisabledBorderWidth = bag.readProperty(QStringLiteral("DisabledBorderWidth"), kDefaultBorderWidth).toInteger();
    m_DisabledFillColor =
        automation::variantToColor(bag.readProperty(QStringLiteral("DisabledFillColor"), automation::colorToVariant(kDefaultDisabledFillColor)));
    m_DisabledFillStyle =
        bag.readProperty(QStringLiteral("DisabledFillStyle"), styleVariant(kDefaultFillStyle)).toInteger();
    m_DisabledFont = automation::variantToFont(bag.readProperty(QStringLiteral("DisabledFont"), ambientFont()));
    m_DisabledForeColor =
        automation::variantToColor(bag.readProperty(QStringLiteral("DisabledForeColor"), automation::colorToVariant(kDefaultDisabledForeColor)));
}

void XShpLabel::writeProperties(automation::PropertyBag& bag)
{
    bag.writeProperty(QStringLiteral("ForeColor"), automation::colorToVariant(m_ForeColor), automation::colorToVariant(kDefaultForeColor));
    bag.writeProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.writeProperty(QStringLiteral("Font"), m_Font, ambientFont());
    bag.writeProperty(QStringLiteral("BorderStyle"), m_BorderStyle, styleVariant(kDefaultBorderStyle));
    bag.writeProperty(QStringLiteral("BorderColor"), automation::colorToVariant(m_BorderColor), automation::colorToVariant(kDefaultBorderColor));
    bag.writeProperty(QStringLiteral("BorderWidth"), m_BorderWidth, kDefaultBorderWidth);
    bag.writeProperty(QStringLiteral("Caption"), lblCaption->text(), kDefaultCaption);
    bag.writeProperty(QStringLiteral("FillColor"), automation::colorToVariant(m_FillColor), automation::colorToVariant(kDefaultFillColor));
    bag.writeProperty(QStringLiteral("FillStyle"), m_FillStyle, styleVariant(kDefaultFillStyle));
    bag.writeProperty(QStringLiteral("DisabledBorderColor"), automation::colorToVariant(m_DisabledBorderColor),
                      automation::colorToVariant(kDefaultBorderColor));
    bag.writeProperty(QStringLiteral("DisabledBorderStyle"), m_DisabledBorderStyle,
                      styleVariant(kDefaultBorderStyle));
    bag.writeProperty(QStringLiteral("DisabledBorderWidth"), m_DisabledBorderWidth, kDefaultBorderWidth);
    bag.writeProperty(QStringLiteral("DisabledFillColor"), automation::colorToVariant(m_DisabledFillColor),
                      automation::colorToVariant(kDefaultDisabledFillColor));
    bag.writeProperty(QStringLiteral("DisabledFillStyle"), m_DisabledFillStyle, styleVariant(kDefaultFillStyle));
    bag.writeProperty(QStringLiteral("DisabledFont"), m_DisabledFont, ambientFont());
    bag.writeProperty(QStringLiteral("DisabledForeColor"), automation::colorToVariant(m_DisabledForeColor),
                      automation::colorToVariant(kDefaultDisabledForeColor));
}

// ---- Late binding ----

automation::Variant XShpLabel::invokeMember(const automation::MemberInfo& member, std::vector<Variant>& params)
{
    switch (member.kind) {
    case automation::MemberKind::Method: Refresh(); return {};
    case automation::MemberKind::PropertyGet: return propertyValue(member.id);
    case automation::MemberKind::PropertyPut:
    case automation::MemberKind::PropertyPutRef: setPropertyValue(member.id, params.at(0)); return {};
    }
    return {};
}

automation::Variant XShpLabel::propertyValue(std::int32_t id) const
{
    namespace Id = XShpLabelDispId;
    switch (id) {
    case Id::ForeColor: return automation::colorToVariant(m_ForeColor);
    case Id::Enabled: return Enabled();
    case Id::Font: return m_Font;
    case Id::BorderStyle: return BorderStyle();
    case Id::BorderColor: return automation::colorToVariant(m_BorderColor);
    case Id::BorderWidth: return m_BorderWidth;
    case Id::Caption: return Caption();
    case Id::FillColor: return automation::colorToVariant(m_FillColor);
    case Id::FillStyle: return FillStyle();
    case Id::DisabledBorderColor: return automation::colorToVariant(m_DisabledBorderColor);
    case Id::DisabledBorderStyle: return DisabledBorderStyle();
    case Id::DisabledBorderWidth: return m_DisabledBorderWidth;
    case Id::DisabledFillColor: return automation::colorToVariant(m_DisabledFillColor);
    case Id::DisabledFillStyle: return DisabledFillStyle();
    case Id::DisabledFont: return m_DisabledFont;
    case Id::DisabledForeColor: return automation::colorToVariant(m_DisabledForeColor);
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

// The arguments arrive converted to the types of the table.
void XShpLabel::setPropertyValue(std::int32_t id, const Variant& value)
{
    namespace Id = XShpLabelDispId;
    switch (id) {
    case Id::ForeColor: setForeColor(automation::variantToColor(value)); return;
    case Id::Enabled: setEnabledProperty(value.toBool()); return;
    case Id::Font: setFontRef(automation::variantToFont(value)); return;
    case Id::BorderStyle: setBorderStyle(value.toLong()); return;
    case Id::BorderColor: setBorderColor(automation::variantToColor(value)); return;
    case Id::BorderWidth: setBorderWidth(value.toInteger()); return;
    case Id::Caption: setCaption(value.toString()); return;
    case Id::FillColor: setFillColor(automation::variantToColor(value)); return;
    case Id::FillStyle: setFillStyle(value.toLong()); return;
    case Id::DisabledBorderColor: setDisabledBorderColor(automation::variantToColor(value)); return;
    case Id::DisabledBorderStyle: setDisabledBorderStyle(value.toLong()); return;
    case Id::DisabledBorderWidth: setDisabledBorderWidth(value.toInteger()); return;
    case Id::DisabledFillColor: setDisabledFillColor(automation::variantToColor(value)); return;
    case Id::DisabledFillStyle: setDisabledFillStyle(value.toLong()); return;
    case Id::DisabledFont: setDisabledFontRef(automation::variantToFont(value)); return;
    case Id::DisabledForeColor: setDisabledForeColor(automation::variantToColor(value)); return;
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

// ---- Layout and painting ----

// The disc fills the control; the caption is centred on it in twips, with
// fractions. A caption larger than the control overhangs equally on both
// sides and is clipped.
void XShpLabel::UpdateLayout()
{
    const double width = ui::pixelsToTwipsX(this->width());
    const double height = ui::pixelsToTwipsY(this->height());
    shpCircle->setGeometry(QRectF(shpCircle->geometry().topLeft(), QSizeF(width, height)));
    const QRectF caption = lblCaption->geometry();
    const float left = static_cast<float>((width - caption.width()) / 2.0);
    const float top = static_cast<float>((height - caption.height()) / 2.0);
    lblCaption->move(left, top);
}

void XShpLabel::applyLook()
{
    const Look look = Enabled() ? Look{m_BorderColor, m_BorderStyle, m_BorderWidth, m_FillColor, m_FillStyle,
                                       m_Font, m_ForeColor}
                                : Look{m_DisabledBorderColor, m_DisabledBorderStyle, m_DisabledBorderWidth,
                                       m_DisabledFillColor, m_DisabledFillStyle, m_DisabledFont,
                                       m_DisabledForeColor};
    applyLookToParts(look, *shpCircle, *lblCaption, palette());
}

void XShpLabel::paintEvent(QPaintEvent* /*event*/)
{
    applyLook();
    QPainter painter(this);
    painter.fillRect(rect(), *ui::oleColorToQColor(ui::SystemColor::ButtonFace, palette()));
    shpCircle->draw(painter);
    lblCaption->draw(painter);
}

void XShpLabel::resizeEvent(QResizeEvent* /*event*/) { UpdateLayout(); }

void XShpLabel::showEvent(QShowEvent* /*event*/) { UpdateLayout(); }

// ---- Events ----

XShpLabel::PointerTarget XShpLabel::targetAt(const QPointF& position) const
{
    const QPointF twips(ui::pixelsToTwipsX(position.x()), ui::pixelsToTwipsY(position.y()));
    return lblCaption->contains(twips) ? PointerTarget::Caption : PointerTarget::Surface;
}

void XShpLabel::raiseMouseEvent(void (XShpLabel::*event)(std::int16_t&, std::int16_t&, float&, float&),
                                std::int16_t button, const QMouseEvent& mouse)
{
    std::int16_t shift = ui::shiftMask(mouse.modifiers());
    float x = static_cast<float>(ui::pixelsToTwipsX(mouse.position().x()));
    float y = static_cast<float>(ui::pixelsToTwipsY(mouse.position().y()));
    emit(this->*event)(button, shift, x, y);
}

// Pointer actions over the caption belong to the caption, which handles
// none; a press keeps its target until the last button is released, as a
// captured pointer does.
void XShpLabel::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    if (event->buttons() == event->button()) {
        m_pressTarget = targetAt(event->position());
        m_clickPending = m_pressTarget == PointerTarget::Surface;
    }
    if (m_pressTarget == PointerTarget::Surface)
        raiseMouseEvent(&XShpLabel::MouseDown, ui::buttonMask(event->button()), *event);
}

// The second press of a double click raises DblClick instead of MouseDown;
// its release raises MouseUp but no second Click.
void XShpLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    m_pressTarget = targetAt(event->position());
    m_clickPending = false;
    if (m_pressTarget == PointerTarget::Surface)
        emit DblClick();
}

void XShpLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    const PointerTarget target = event->buttons() == Qt::NoButton ? targetAt(event->position()) : m_pressTarget;
    if (target == PointerTarget::Surface)
        raiseMouseEvent(&XShpLabel::MouseMove, ui::buttonMask(event->buttons()), *event);
}

void XShpLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    if (m_pressTarget == PointerTarget::Surface)
        raiseMouseEvent(&XShpLabel::MouseUp, ui::buttonMask(event->button()), *event);
    if (event->buttons() != Qt::NoButton)
        return;
    const bool click = m_clickPending && rect().contains(event->position().toPoint());
    m_clickPending = false;
    m_pressTarget = PointerTarget::Surface;
    if (click)
        emit Click();
}

void XShpLabel::keyPressEvent(QKeyEvent* event)
{
    if (!isEnabled())
        return;
    std::int16_t keyCode = keyCodeOf(event->key());
    std::int16_t shift = ui::shiftMask(event->modifiers());
    emit KeyDown(keyCode, shift);
    const QString text = event->text();
    if (text.size() != 1)
        return;
    if (const auto code = sysapi::unicodeToAnsi(text.at(0).unicode())) {
        std::int16_t keyAscii = *code;
        emit KeyPress(keyAscii);
    }
}

void XShpLabel::keyReleaseEvent(QKeyEvent* event)
{
    if (!isEnabled() || event->isAutoRepeat())
        return;
    std::int16_t keyCode = keyCodeOf(event->key());
    std::int16_t shift = ui::shiftMask(event->modifiers());
    emit KeyUp(keyCode, shift);
}

} // namespace tarvo
