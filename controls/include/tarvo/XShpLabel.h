#pragma once

#include "automation/StdFont.h"
#include "ui/UserControl.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <memory>

namespace tarvo {

class CaptionLabel;
class CircleShape;

// A short caption centred on a filled circle, with one look (border, fill,
// caption colour and face) for the enabled state and another for the
// disabled state. A host switches between them by writing Enabled.
//
// Every property is reachable three ways with the same behaviour: the C++
// accessors below, late binding through the _XShpLabel type-info table
// (Dispatch), and QObject properties of the same names (fonts excepted).
// Failures are automation::AutomationError with their number.
//
// Sizes and positions are twips (1/1440 inch). Colours are OLE colours.
class XShpLabel : public ui::UserControl {
    Q_OBJECT
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledProperty)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(qint16 BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(uint FillColor READ FillColor WRITE setFillColor)
    Q_PROPERTY(int FillStyle READ FillStyle WRITE setFillStyle)
    Q_PROPERTY(uint DisabledBorderColor READ DisabledBorderColor WRITE setDisabledBorderColor)
    Q_PROPERTY(int DisabledBorderStyle READ DisabledBorderStyle WRITE setDisabledBorderStyle)
    Q_PROPERTY(qint16 DisabledBorderWidth READ DisabledBorderWidth WRITE setDisabledBorderWidth)
    Q_PROPERTY(uint DisabledFillColor READ DisabledFillColor WRITE setDisabledFillColor)
    Q_PROPERTY(int DisabledFillStyle READ DisabledFillStyle WRITE setDisabledFillStyle)
    Q_PROPERTY(uint DisabledForeColor READ DisabledForeColor WRITE setDisabledForeColor)

public:
    explicit XShpLabel(QWidget* parent = nullptr);
    ~XShpLabel() override;

    // The default interface _XShpLabel and the event interface __XShpLabel.
    static const automation::TypeInfo& classTypeInfo();
    static const automation::TypeInfo& eventTypeInfo();
    const automation::TypeInfo& typeInfo() const override;

    // Writes send propertyChanged with the property's name and do not
    // repaint, except Enabled, which repaints at once. Style writes accept
    // any value from -32768 to 32767 and fail with 6 outside it.
    std::uint32_t ForeColor() const { return m_ForeColor; }
    void setForeColor(std::uint32_t New_ForeColor);
    bool Enabled() const;
    void setEnabledProperty(bool New_Enabled);
    // Fonts are shared references: the look follows later changes of the
    // object's face name.
    automation::FontRef Font() const { return m_Font; }
    void setFontRef(automation::FontRef New_Font);
    std::int32_t BorderStyle() const { return m_BorderStyle; }
    void setBorderStyle(std::int32_t New_BorderStyle);
    void Refresh();
    std::uint32_t BorderColor() const { return m_BorderColor; }
    void setBorderColor(std::uint32_t New_BorderColor);
    std::int16_t BorderWidth() const { return m_BorderWidth; }
    void setBorderWidth(std::int16_t New_BorderWidth);
    QString Caption() const;
    void setCaption(const QString& New_Caption);
    std::uint32_t FillColor() const { return m_FillColor; }
    void setFillColor(std::uint32_t New_FillColor);
    std::int32_t FillStyle() const { return m_FillStyle; }
    void setFillStyle(std::int32_t New_FillStyle);
    std::uint32_t DisabledBorderColor() const { return m_DisabledBorderColor; }
    void setDisabledBorderColor(std::uint32_t New_DisabledBorderColor);
    std::int32_t DisabledBorderStyle() const { return m_DisabledBorderStyle; }
    void setDisabledBorderStyle(std::int32_t New_DisabledBorderStyle);
    std::int16_t DisabledBorderWidth() const { return m_DisabledBorderWidth; }
    void setDisabledBorderWidth(std::int16_t New_DisabledBorderWidth);
    std::uint32_t DisabledFillColor() const { return m_DisabledFillColor; }
    void setDisabledFillColor(std::uint32_t New_DisabledFillColor);
    std::int32_t DisabledFillStyle() const { return m_DisabledFillStyle; }
    void setDisabledFillStyle(std::int32_t New_DisabledFillStyle);
    automation::FontRef DisabledFont() const { return m_DisabledFont; }
    void setDisabledFontRef(automation::FontRef New_DisabledFont);
    std::uint32_t DisabledForeColor() const { return m_DisabledForeColor; }
    void setDisabledForeColor(std::uint32_t New_DisabledForeColor);

    // Where the caption sits (left, top, width, height in twips, relative to
    // the control) and the font it is drawn in.
    QRectF captionGeometry() const;
    QFont captionFont() const;

signals:
    // Raised from the control's own surface (not over the caption). Arguments
    // are passed by reference; a handler may change them, the control ignores
    // the change. Button: left 1, right 2, middle 4. Shift: Shift 1, Ctrl 2,
    // Alt 4. X and Y: twips from the control's top-left corner.
    void Click();
    void DblClick();
    void KeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
    void KeyPress(std::int16_t& KeyAscii);
    void KeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
    void MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
    void MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
    void MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);

protected:
    void initProperties() override;
    void readProperties(const automation::PropertyBag& bag) override;
    void writeProperties(automation::PropertyBag& bag) override;
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    enum class PointerTarget { Surface, Caption };

    void UpdateLayout();
    void clearMembers();
    void applyLook();
    automation::Variant propertyValue(std::int32_t id) const;
    void setPropertyValue(std::int32_t id, const automation::Variant& value);
    PointerTarget targetAt(const QPointF& position) const;
    void raiseMouseEvent(void (XShpLabel::*event)(std::int16_t&, std::int16_t&, float&, float&),
                         std::int16_t button, const QMouseEvent& mouse);

    // The control's parts: the disc with its border, and the caption.
    std::unique_ptr<CircleShape> shpCircle;
    std::unique_ptr<CaptionLabel> lblCaption;

    std::uint32_t m_ForeColor;
    automation::FontRef m_Font;
    std::int16_t m_BorderStyle;
    std::uint32_t m_BorderColor;
    std::int16_t m_BorderWidth;
    std::uint32_t m_FillColor;
    std::int16_t m_FillStyle;
    std::uint32_t m_DisabledBorderColor;
    std::int16_t m_DisabledBorderStyle;
    std::int16_t m_DisabledBorderWidth;
    std::uint32_t m_DisabledFillColor;
    std::int16_t m_DisabledFillStyle;
    automation::FontRef m_DisabledFont;
    std::uint32_t m_DisabledForeColor;

    // Pointer capture: a press keeps its target until every button is up.
    PointerTarget m_pressTarget = PointerTarget::Surface;
    bool m_clickPending = false;
};

} // namespace tarvo
