#pragma once

#include "automation/StdFont.h"
#include "ui/UserControl.h"

#include <QString>

#include <cstdint>

class QTimer;

namespace tarvo {

class GlowCaptionLabel;

// A caption whose text colour pulses: every tick of the inner timer moves
// the colour one step from black through blue to cyan, holds it, runs back
// through green to black, holds it, and starts again (152 ticks a cycle).
//
// The control is a shell around two inner parts, which hold every value:
//   lblCaption  the caption label (object name "lblCaption"), covering the
//               whole control; it draws the text and takes all mouse input
//   Timer1      a precise timer (object name "Timer1"); its interval is
//               Interval, 0 meaning no ticks
// Each property reads and writes its part; a write then sends
// propertyChanged with the property's name. A value the part refuses fails
// with its error (380 for a value out of range, also for a font that is
// Nothing), keeps the old value and sends nothing.
//
// A new instance takes the label's own initial settings: back colour
// 0x8000000F, fore colour 0x80000012, enabled, BackStyle 1, BorderStyle 0,
// Alignment 0, Appearance 1, caption "Label1", Interval 0, and as its font
// the ambient font object of its container at construction (a font object
// made from the parent's or the application's font without one). Those are
// the stored keys' defaults, so an unchanged instance stores nothing.
//
// The properties are reachable through the C++ accessors below, late binding
// through the _XGlowLabel type-info table (Dispatch), and QObject properties
// of the same names (Font excepted; colours as uint).
class XGlowLabel : public ui::UserControl {
    Q_OBJECT
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledProperty)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)

public:
    explicit XGlowLabel(QWidget* parent = nullptr);
    ~XGlowLabel() override;

    // The default interface _XGlowLabel and the event interface __XGlowLabel.
    static const automation::TypeInfo& classTypeInfo();
    static const automation::TypeInfo& eventTypeInfo();
    const automation::TypeInfo& typeInfo() const override;

    // Colours are OLE colours; the label takes fixed colours and the known
    // system colours.
    std::uint32_t BackColor() const;
    void setBackColor(std::uint32_t New_BackColor);
    // Between writes, the colour of the last glow tick.
    std::uint32_t ForeColor() const;
    void setForeColor(std::uint32_t New_ForeColor);
    // The caption label's own state; the glow goes on while it is disabled.
    bool Enabled() const;
    void setEnabledProperty(bool New_Enabled);
    // The caption label's font object itself: changes made to it show in
    // the caption.
    automation::FontRef Font() const;
    void setFontRef(automation::FontRef New_Font);
    std::int16_t BackStyle() const; // 0 transparent, 1 opaque
    void setBackStyle(std::int32_t New_BackStyle);
    std::int16_t BorderStyle() const; // 0 none, 1 single line
    void setBorderStyle(std::int32_t New_BorderStyle);
    // Paints the caption label at once; changes nothing.
    void Refresh();
    std::int16_t Alignment() const; // 0 left, 1 right, 2 centred
    void setAlignment(std::int32_t New_Alignment);
    std::int16_t Appearance() const; // 0 flat, 1 three-dimensional
    void setAppearance(std::int32_t New_Appearance);
    QString Caption() const;
    void setCaption(const QString& New_Caption);
    // Milliseconds between glow ticks, 0 to 65535; 0 stops the glow where it
    // is, and a later interval continues the same cycle.
    std::int32_t Interval() const;
    void setInterval(std::int32_t New_Interval);

    // One glow tick, as Timer1 runs it: one step of the colour, the new
    // colour given to the caption (no propertyChanged), then a pause of
    // 50 ms through services::Pause. Errors pass to the caller.
    void Timer1_Timer();

signals:
    // Raised from the caption label, with its arguments by reference. Button:
    // left 1, right 2, middle 4. Shift: Shift 1, Ctrl 2, Alt 4. X and Y:
    // twips from the control's top-left corner.
    void Click();
    void DblClick();
    void MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
    void MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
    void MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);

protected:
    void readProperties(const automation::PropertyBag& bag) override;
    void writeProperties(automation::PropertyBag& bag) override;
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The glow's position in its cycle. Every channel stays within 0..255
    // between ticks; Falling is 0 (rising) or -1.
    struct GlowState {
        std::int16_t Red = 0;
        std::int16_t Green = 0;
        std::int16_t Blue = 0;
        std::int16_t Falling = 0;
    };

    void UserControl_Resize();
    void stepGlow();
    void onTimer1();
    automation::Variant propertyValue(std::int32_t id) const;
    void setPropertyValue(std::int32_t id, const automation::Variant& value);

    GlowCaptionLabel* lblCaption; // owned as a child widget
    QTimer* Timer1;               // owned as a child object
    GlowState m_GlowState;
};

} // namespace tarvo
