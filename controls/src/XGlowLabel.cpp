#include "tarvo/XGlowLabel.h"

#include "GlowCaptionLabel.h"
#include "tarvo/TypeLibrary.h"

#include "automation/AutomationError.h"
#include "automation/PropertyBag.h"
#include "services/Pause.h"
#include "ui/OleColor.h"
#include "ui/Twips.h"

#include <QPainter>
#include <QTimer>

#include <limits>

namespace tarvo {
namespace {

using automation::ParamType;
using automation::Variant;

// The defaults of the stored keys, which are also a new instance's values.
constexpr std::uint32_t kDefaultBackColor = 0x8000000F; // button face
constexpr std::uint32_t kDefaultForeColor = 0x80000012; // button text
constexpr std::int16_t kDefaultBackStyle = 1;
constexpr std::int16_t kDefaultBorderStyle = 0;
constexpr std::int16_t kDefaultAlignment = 0;
constexpr std::int16_t kDefaultAppearance = 1;
const QString kDefaultCaption = QStringLiteral("Label1");
constexpr std::int16_t kDefaultInterval = 0;

// The designer's layout: the control 3840 x 2880 twips, its caption label
// 972 x 492 at the top-left corner until the first resize.
constexpr double kDesignerWidth = 3840;
constexpr double kDesignerHeight = 2880;
constexpr double kCaptionDesignWidth = 972;
constexpr double kCaptionDesignHeight = 492;

// The timer takes what the platform timer takes.
constexpr std::int32_t kLongestInterval = 65535;

// The glow's step per tick and the pause after it.
constexpr int kGlowStep = 10;
constexpr int kChannelTop = 255;
constexpr std::int32_t kGlowPauseMilliseconds = 50;


// The interval is stored as a Long with an Integer default. The bag compares
// values with their types, so an interval equal to the default is handed
// over as the default itself and, like every default, is not stored.
Variant intervalVariant(std::int32_t interval)
{
    if (interval == kDefaultInterval)
        return kDefaultInterval;
    return interval;
}

// The timer is periodic: a tick starts every interval, counted from the start
// of the previous one. The tick's pause never holds the thread (it is
// waited for asynchronously), so ticks keep their cadence and the user's
// input is never held back by the decoration.
void setTimerInterval(QTimer& timer, std::int32_t milliseconds)
{
    if (milliseconds < 0 || milliseconds > kLongestInterval)
        automation::raiseError(automation::ErrorNumber::InvalidPropertyValue);
    timer.setInterval(milliseconds);
    if (milliseconds == 0)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}

// Glow arithmetic is 16-bit; a channel never leaves 0..255 between ticks,
// so this never overflows, but a result out of range would be an overflow.
std::int16_t stepped(std::int16_t channel, int step)
{
    const int result = channel + step;
    if (result < std::numeric_limits<std::int16_t>::min() || result > std::numeric_limits<std::int16_t>::max())
        automation::raiseError(automation::ErrorNumber::Overflow);
    return static_cast<std::int16_t>(result);
}

} // namespace

XGlowLabel::XGlowLabel(QWidget* parent)
    : ui::UserControl(parent), lblCaption(new GlowCaptionLabel(ambientFont(), this)), Timer1(new QTimer(this))
{
    // The caption covers the control, which paints its own surface only
    // where a transparent caption lets it show. Neither takes the focus: the
    // control is a decoration.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);

    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setCaption(kDefaultCaption);
    lblCaption->setGeometry(ui::twipsRect(0, 0, kCaptionDesignWidth, kCaptionDesignHeight));
    connect(lblCaption, &GlowCaptionLabel::Click, this, &XGlowLabel::Click);
    connect(lblCaption, &GlowCaptionLabel::DblClick, this, &XGlowLabel::DblClick);
    connect(lblCaption, &GlowCaptionLabel::MouseDown, this, &XGlowLabel::MouseDown);
    connect(lblCaption, &GlowCaptionLabel::MouseMove, this, &XGlowLabel::MouseMove);
    connect(lblCaption, &GlowCaptionLabel::MouseUp, this, &XGlowLabel::MouseUp);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(kDefaultInterval);
    connect(Timer1, &QTimer::timeout, this, &XGlowLabel::onTimer1);

    resize(ui::twipsToPixelsX(kDesignerWidth), ui::twipsToPixelsY(kDesignerHeight));
}

XGlowLabel::~XGlowLabel() = default;

// ---- Properties ----

std::uint32_t XGlowLabel::BackColor() const { return lblCaption->BackColor(); }

void XGlowLabel::setBackColor(std::uint32_t New_BackColor)
{
    lblCaption->setBackColor(New_BackColor);
    notifyPropertyChanged(QStringLiteral("BackColor"));
}

std::uint32_t XGlowLabel::ForeColor() const { return lblCaption->ForeColor(); }

void XGlowLabel::setForeColor(std::uint32_t New_ForeColor)
{
    lblCaption->setForeColor(New_ForeColor);
    notifyPropertyChanged(QStringLiteral("ForeColor"));
}

bool XGlowLabel::Enabled() const { return lblCaption->Enabled(); }

void XGlowLabel::setEnabledProperty(bool New_Enabled)
{
    lblCaption->setEnabledState(New_Enabled);
    notifyPropertyChanged(QStringLiteral("Enabled"));
}

automation::FontRef XGlowLabel::Font() const { return lblCaption->Font(); }

void XGlowLabel::setFontRef(automation::FontRef New_Font)
{
    lblCaption->setFontRef(std::move(New_Font));
    notifyPropertyChanged(QStringLiteral("Font"));
}

std::int16_t XGlowLabel::BackStyle() const { return lblCaption->BackStyle(); }

void XGlowLabel::setBackStyle(std::int32_t New_BackStyle)
{
    lblCaption->setBackStyle(New_BackStyle);
    notifyPropertyChanged(QStringLiteral("BackStyle"));
}

std::int16_t XGlowLabel::BorderStyle() const { return lblCaption->BorderStyle(); }

void XGlowLabel::setBorderStyle(std::int32_t New_BorderStyle)
{
    lblCaption->setBorderStyle(New_BorderStyle);
    notifyPropertyChanged(QStringLiteral("BorderStyle"));
}

void XGlowLabel::Refresh() { lblCaption->Refresh(); }

std::int16_t XGlowLabel::Alignment() const { return lblCaption->Alignment(); }

void XGlowLabel::setAlignment(std::int32_t New_Alignment)
{
    lblCaption->setAlignment(New_Alignment);
    notifyPropertyChanged(QStringLiteral("Alignment"));
}

std::int16_t XGlowLabel::Appearance() const { return lblCaption->Appearance(); }

void XGlowLabel::setAppearance(std::int32_t New_Appearance)
{
    lblCaption->setAppearance(New_Appearance);
    notifyPropertyChanged(QStringLiteral("Appearance"));
}

QString XGlowLabel::Caption() const { return lblCaption->Caption(); }

void XGlowLabel::setCaption(const QString& New_Caption)
{
    lblCaption->setCaption(New_Caption);
    notifyPropertyChanged(QStringLiteral("Caption"));
}

std::int32_t XGlowLabel::Interval() const { return Timer1->interval(); }

void XGlowLabel::setInterval(std::int32_t New_Interval)
{
    setTimerInterval(*Timer1, New_Interval);
    notifyPropertyChanged(QStringLiteral("Interval"));
}

// ---- The glow ----

// Blue moves every tick; green only in a tick in which blue overshoots its
// bound, red only in one in which green does. The direction turns in the
// tick that saturates the last stage.
void XGlowLabel::stepGlow()
{
    GlowState& glow = m_GlowState;
    if (glow.Falling == 0) {
        glow.Blue = stepped(glow.Blue, kGlowStep);
        if (glow.Blue > kChannelTop) {
            glow.Blue = kChannelTop;
            glow.Green = stepped(glow.Green, kGlowStep);
            if (glow.Green > kChannelTop) {
                glow.Green = kChannelTop;
                glow.Red = stepped(glow.Red, kGlowStep);
                if (glow.Red > kChannelTop)
                    glow.Red = kChannelTop;
            }
        }
        if (glow.Red == kChannelTop && glow.Green == kChannelTop && glow.Blue == kChannelTop)
            glow.Falling = -1;
    } else {
        glow.Blue = stepped(glow.Blue, -kGlowStep);
        if (glow.Blue < 0) {
            glow.Blue = 0;
            glow.Green = stepped(glow.Green, -kGlowStep);
            if (glow.Green < 0) {
                glow.Green = 0;
                glow.Red = stepped(glow.Red, -kGlowStep);
                if (glow.Red < 0)
                    glow.Red = 0;
            }
        }
        if (glow.Red == 0 && glow.Green == 0 && glow.Blue == 0)
            glow.Falling = 0;
    }
}

// The state is complete before the colour is shown and before the pause, so
// a tick that starts while this one pauses simply takes the next step. Red
// is never shown. Nothing of the tick follows its pause: the tick ends when
// the pause's time has passed, without holding the thread meanwhile.
void XGlowLabel::Timer1_Timer()
{
    stepGlow();
    lblCaption->setForeColor(ui::rgbColor(0, m_GlowState.Green, m_GlowState.Blue));
    std::int32_t milliseconds = kGlowPauseMilliseconds;
    services::PauseAsync(milliseconds, this, {});
}

void XGlowLabel::onTimer1()
{
    // A failed tick ends that tick only: the host goes on, and so does the glow.
    try {
        Timer1_Timer();
    } catch (const std::exception& error) {
        qWarning("XGlowLabel: a glow tick failed: %s", error.what());
    } catch (...) {
        qWarning("XGlowLabel: a glow tick failed");
    }
}

// ---- Persistence ----

// Each key goes straight into its part, in the order of writeProperties; the
// first value that cannot be converted or that a part refuses stops the read
// with its error, leaving the later parts as they were. Interval comes last,
// so the glow starts only when everything else is in place.
void XGlowLabel::readProperties(const automation::PropertyBag& bag)
{
    lblCaption->setBackColor(automation::variantToColor(bag.readProperty(QStringLiteral("BackColor"), automation::colorToVariant(kDefaultBackColor))));
    lblCaption->setForeColor(automation::variantToColor(bag.readProperty(QStringLiteral("ForeColor"), automation::colorToVariant(kDefaultForeColor))));
    lblCaption->setEnabledState(bag.readProperty(QStringLiteral("Enabled"), true).toBool());
    lblCaption->setFontRef(automation::variantToFont(bag.readProperty(QStringLiteral("Font"), ambientFont())));
    lblCaption->setBackStyle(bag.readProperty(QStringLiteral("BackStyle"), kDefaultBackStyle).toInteger());
    lblCaption->setBorderStyle(bag.readProperty(QStringLiteral("BorderStyle"), kDefaultBorderStyle).toInteger());
    lblCaption->setAlignment(bag.readProperty(QStringLiteral("Alignment"), kDefaultAlignment).toInteger());
    lblCaption->setAppearance(bag.readProperty(QStringLiteral("Appearance"), kDefaultAppearance).toInteger());
    lblCaption->setCaption(bag.readProperty(QStringLiteral("Caption"), kDefaultCaption).toString());
    setTimerInterval(*Timer1, bag.readProperty(QStringLiteral("Interval"), kDefaultInterval).toLong());
}

void XGlowLabel::writeProperties(automation::PropertyBag& bag)
{
    bag.writeProperty(QStringLiteral("BackColor"), automation::colorToVariant(BackColor()), automation::colorToVariant(kDefaultBackColor));
    bag.writeProperty(QStringLiteral("ForeColor"), automation::colorToVariant(ForeColor()), automation::colorToVariant(kDefaultForeColor));
    bag.writeProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.writeProperty(QStringLiteral("Font"), Font(), ambientFont());
    bag.writeProperty(QStringLiteral("BackStyle"), BackStyle(), kDefaultBackStyle);
    bag.writeProperty(QStringLiteral("BorderStyle"), BorderStyle(), kDefaultBorderStyle);
    bag.writeProperty(QStringLiteral("Alignment"), Alignment(), kDefaultAlignment);
    bag.writeProperty(QStringLiteral("Appearance"), Appearance(), kDefaultAppearance);
    bag.writeProperty(QStringLiteral("Caption"), Caption(), kDefaultCaption);
    bag.writeProperty(QStringLiteral("Interval"), intervalVariant(Interval()), kDefaultInterval);
}

// ---- Late binding ----

automation::Variant XGlowLabel::invokeMember(const automation::MemberInfo& member, std::vector<Variant>& params)
{
    switch (member.kind) {
    case automation::MemberKind::Method: Refresh(); return {};
    case automation::MemberKind::PropertyGet: return propertyValue(member.id);
    case automation::MemberKind::PropertyPut:
    case automation::MemberKind::PropertyPutRef: setPropertyValue(member.id, params.at(0)); return {};
    }
    return {};
}

automation::Variant XGlowLabel::propertyValue(std::int32_t id) const
{
    namespace Id = XGlowLabelDispId;
    switch (id) {
    case Id::BackColor: return automation::colorToVariant(BackColor());
    case Id::ForeColor: return automation::colorToVariant(ForeColor());
    case Id::Enabled: return Enabled();
    case Id::Font: return Font();
    case Id::BackStyle: return BackStyle();
    case Id::BorderStyle: return BorderStyle();
    case Id::Alignment: return Alignment();
    case Id::Appearance: return Appearance();
    case Id::Caption: return Caption();
    case Id::Interval: return Interval();
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

// The arguments arrive converted to the types of the table.
void XGlowLabel::setPropertyValue(std::int32_t id, const Variant& value)
{
    namespace Id = XGlowLabelDispId;
    switch (id) {
    case Id::BackColor: setBackColor(automation::variantToColor(value)); return;
    case Id::ForeColor: setForeColor(automation::variantToColor(value)); return;
    case Id::Enabled: setEnabledProperty(value.toBool()); return;
    case Id::Font: setFontRef(automation::variantToFont(value)); return;
    case Id::BackStyle: setBackStyle(value.toInteger()); return;
    case Id::BorderStyle: setBorderStyle(value.toInteger()); return;
    case Id::Alignment: setAlignment(value.toInteger()); return;
    case Id::Appearance: setAppearance(value.toInteger()); return;
    case Id::Caption: setCaption(value.toString()); return;
    case Id::Interval: setInterval(value.toLong()); return;
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

// ---- Layout and painting ----

// The caption keeps its place at (0, 0) and takes the control's whole size.
void XGlowLabel::UserControl_Resize() { lblCaption->resize(size()); }

void XGlowLabel::resizeEvent(QResizeEvent* /*event*/) { UserControl_Resize(); }

void XGlowLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), *ui::oleColorToQColor(ui::SystemColor::ButtonFace, palette()));
}

} // namespace tarvo
