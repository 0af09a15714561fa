#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;
class QPalette;

namespace tarvo {

// The caption part of the shaped label: a label that sizes itself to its
// text in its own font (one line), draws only its characters (transparent
// background) and shows an ampersand as an access-key underline.
//
// Changing the text or the face name resizes the label but keeps its left
// and top; only move() places it.
class CaptionLabel {
public:
    CaptionLabel();

    const QString& text() const { return m_text; }
    void setText(const QString& text);
    const QFont& font() const { return m_font; }
    // Takes the face name only; size, weight and styles stay the label's own.
    // An empty name is no face and leaves the font as it was.
    void setFaceName(const QString& faceName);
    // A value that is no valid colour leaves the colour as it was.
    void setForeColor(std::uint32_t oleColor, const QPalette& palette);

    // Left, top, width, height in twips, relative to the control.
    QRectF geometry() const;
    void move(double leftTwips, double topTwips);
    bool contains(const QPointF& twips) const { return geometry().contains(twips); }

    void draw(QPainter& painter) const;

private:
    void autoSize();

    QString m_text;
    QFont m_font;
    QColor m_foreColor;
    double m_left;
    double m_top;
    double m_width = 0;
    double m_height = 0;
};

} // namespace tarvo
