#pragma once

#include "automation/Dispatch.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QUuid>

#include <cstdint>
#include <memory>

namespace automation {

// The standard automation font. Font properties hold shared references to
// these objects, never copies: a change made through one holder shows in
// every other.
class StdFont : public Dispatch {
public:
    // {0BE35203-8F91-11CE-9DE3-00AA004BB851}
    static const QUuid kClassId;

    StdFont() = default;
    StdFont(const QString& name, double points, bool bold = false);

    static std::shared_ptr<StdFont> create(const QString& name, double points, bool bold = false);
    static std::shared_ptr<StdFont> fromQFont(const QFont& font);
    std::shared_ptr<StdFont> clone() const;

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // The size in points; stored as ten-thousandths of a point.
    double size() const { return static_cast<double>(m_sizeTenThousandths) / 10000.0; }
    void setSize(double points);
    std::int64_t sizeTenThousandths() const { return m_sizeTenThousandths; }
    std::int16_t weight() const { return m_weight; }
    void setWeight(std::int16_t weight) { m_weight = weight; }
    bool bold() const { return m_weight > 550; }
    void setBold(bool bold) { m_weight = bold ? 700 : 400; }
    bool italic() const { return m_italic; }
    void setItalic(bool italic) { m_italic = italic; }
    bool underline() const { return m_underline; }
    void setUnderline(bool underline) { m_underline = underline; }
    bool strikethrough() const { return m_strikethrough; }
    void setStrikethrough(bool strikethrough) { m_strikethrough = strikethrough; }
    std::int16_t charset() const { return m_charset; }
    void setCharset(std::int16_t charset) { m_charset = charset; }

    QFont toQFont() const;
    bool sameLook(const StdFont& other) const;

    // The persisted form: the class id (16 bytes, in the platform's GUID
    // layout), then version 1 (byte), character set (16-bit), style flags
    // (byte: 0x02 italic, 0x04 underline, 0x08 strikethrough), weight
    // (16-bit), size in ten-thousandths of a point (32-bit), face name length
    // (byte) and the face name in the ANSI code page. Little-endian.
    QByteArray persist() const;
    // Reads a persisted font; corrupt or truncated data fails with 321.
    // `consumed` receives the number of bytes read.
    static std::shared_ptr<StdFont> restore(const QByteArray& data, qsizetype* consumed = nullptr);

    const TypeInfo& typeInfo() const override;

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& params) override;

private:
    QString m_name = QStringLiteral("MS Sans Serif");
    std::int64_t m_sizeTenThousandths = 82500;
    std::int16_t m_weight = 400;
    std::int16_t m_charset = 0;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikethrough = false;
};

using FontRef = std::shared_ptr<StdFont>;

// The font a value holds: a StdFont or Nothing; any other value fails with 13.
FontRef variantToFont(const Variant& value);

// Writes a 16-byte GUID in the platform's layout (the first three fields
// little-endian), and reads it back.
QByteArray guidBytes(const QUuid& id);
QUuid guidFromBytes(const QByteArray& bytes);

} // namespace automation
