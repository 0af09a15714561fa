#pragma once

#include "automation/StdFont.h"

#include <QString>
#include <QWidget>

#include <cstdint>

namespace tarvo {

// The caption of the glowing label: a label widget that keeps its own
// settings, checks every value it is given and paints them.
//
// Settings and the values it accepts; anything else fails with 380 (invalid
// property value) and the old value stays:
//   BackColor, ForeColor  an OLE colour (fixed, or a known system colour)
//   Enabled               any; a disabled label draws embossed grey text
//                         and takes no mouse input
//   Font                  a font object, shared, never copied; Nothing is
//                         refused (380). Later changes made to the object
//                         show at the next paint.
//   BackStyle             0 transparent, 1 opaque
//   BorderStyle           0 none, 1 single line
//   Alignment             0 left, 1 right, 2 centred
//   Appearance            0 flat, 1 three-dimensional (the single-line
//                         border is then a sunken edge)
//   Caption               any text; "&" underlines the next character
//
// A setter that changes the look schedules a paint of this widget alone
// (update()); Refresh() paints at once.
class GlowCaptionLabel : public QWidget {
    Q_OBJECT

public:
    GlowCaptionLabel(automation::FontRef font, QWidget* parent);

    std::uint32_t BackColor() const { return m_BackColor; }
    void setBackColor(std::uint32_t color);
    std::uint32_t ForeColor() const { return m_ForeColor; }
    void setForeColor(std::uint32_t color);
    // The label's own state, whatever its container's state is.
    bool Enabled() const;
    void setEnabledState(bool enabled);
    automation::FontRef Font() const { return m_Font; }
    void setFontRef(automation::FontRef font);
    std::int16_t BackStyle() const { return m_BackStyle; }
    void setBackStyle(std::int32_t style);
    std::int16_t BorderStyle() const { return m_BorderStyle; }
    void setBorderStyle(std::int32_t style);
    std::int16_t Alignment() const { return m_Alignment; }
    void setAlignment(std::int32_t alignment);
    std::int16_t Appearance() const { return m_Appearance; }
    void setAppearance(std::int32_t appearance);
    const QString& Caption() const { return m_Caption; }
    void setCaption(const QString& caption);

    void Refresh();

signals:
    // Mouse input on the label, arguments by reference. Button: left 1,
    // right 2, middle 4. Shift: Shift 1, Ctrl 2, Alt 4. X and Y: twips from
    // the label's top-left corner.
    void Click();
    void DblClick();
    void MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
    void MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
    void MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::uint32_t checkedColor(std::uint32_t color) const;
    QColor colorOf(std::uint32_t color) const;
    int borderWidth() const;
    void drawBorder(QPainter& painter) const;
    void drawCaption(QPainter& painter, const QRect& box) const;
    void raiseMouseEvent(void (GlowCaptionLabel::*event)(std::int16_t&, std::int16_t&, float&, float&),
                         std::int16_t button, const QMouseEvent& mouse);

    std::uint32_t m_BackColor;
    std::uint32_t m_ForeColor;
    automation::FontRef m_Font;
    std::int16_t m_BackStyle;
    std::int16_t m_BorderStyle;
    std::int16_t m_Alignment;
    std::int16_t m_Appearance;
    QString m_Caption;

    bool m_clickPending = false;
};

} // namespace tarvo
