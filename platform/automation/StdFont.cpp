#include "automation/StdFont.h"

#include "automation/AutomationError.h"
#include "system/CodePage.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace automation {
namespace {

enum FontDispId : DispId { Name = 0, Size = 2, Bold = 3, Italic = 4, Underline = 5, Strikethrough = 6, Weight = 7, Charset = 8 };

constexpr std::uint8_t kPersistVersion = 1;
constexpr std::uint8_t kFlagItalic = 0x02;
constexpr std::uint8_t kFlagUnderline = 0x04;
constexpr std::uint8_t kFlagStrikethrough = 0x08;
constexpr qsizetype kFixedPartSize = 16 + 1 + 2 + 1 + 2 + 4 + 1;

[[noreturn]] void corrupt() { raiseError(ErrorNumber::InvalidFileFormat); }

template <typename T>
void appendLittleEndian(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Callers check the length first.
template <typename T>
T readLittleEndian(const QByteArray& data, qsizetype offset)
{
    std::make_unsigned_t<T> value = 0;
    for (qsizetype i = static_cast<qsizetype>(sizeof(T)) - 1; i >= 0; --i)
        value = static_cast<std::make_unsigned_t<T>>((value << 8) | static_cast<unsigned char>(data.at(offset + i)));
    return static_cast<T>(value);
}

MemberInfo property(const char* name, DispId id, MemberKind kind, ParamType type)
{
    MemberInfo member{QString::fromLatin1(name), id, kind};
    if (kind == MemberKind::PropertyGet)
        member.result = type;
    else
        member.params = {ParamInfo{QStringLiteral("value"), type}};
    return member;
}

} // namespace

const QUuid StdFont::kClassId{QStringLiteral("{0BE35203-8F91-11CE-9DE3-00AA004BB851}")};

QByteArray guidBytes(const QUuid& id)
{
    QByteArray out;
    appendLittleEndian<quint32>(out, id.data1);
    appendLittleEndian<quint16>(out, id.data2);
    appendLittleEndian<quint16>(out, id.data3);
    out.append(reinterpret_cast<const char*>(id.data4), 8);
    return out;
}

QUuid guidFromBytes(const QByteArray& bytes)
{
    if (bytes.size() < 16)
        return {};
    return QUuid(readLittleEndian<quint32>(bytes, 0), readLittleEndian<quint16>(bytes, 4),
                 readLittleEndian<quint16>(bytes, 6), static_cast<uchar>(bytes[8]), static_cast<uchar>(bytes[9]),
                 static_cast<uchar>(bytes[10]), static_cast<uchar>(bytes[11]), static_cast<uchar>(bytes[12]),
                 static_cast<uchar>(bytes[13]), static_cast<uchar>(bytes[14]), static_cast<uchar>(bytes[15]));
}

StdFont::StdFont(const QString& name, double points, bool bold) : m_name(name)
{
    setSize(points);
    setBold(bold);
}

std::shared_ptr<StdFont> StdFont::create(const QString& name, double points, bool bold)
{
    return std::make_shared<StdFont>(name, points, bold);
}

std::shared_ptr<StdFont> StdFont::fromQFont(const QFont& font)
{
    auto result = std::make_shared<StdFont>(font.family(), font.pointSizeF());
    result->setWeight(static_cast<std::int16_t>(font.weight()));
    result->setItalic(font.italic());
    result->setUnderline(font.underline());
    result->setStrikethrough(font.strikeOut());
    return result;
}

std::shared_ptr<StdFont> StdFont::clone() const { return std::make_shared<StdFont>(*this); }

void StdFont::setSize(double points)
{
    if (!std::isfinite(points) || points < 0 || points > 214748.0)
        raiseError(ErrorNumber::InvalidPropertyValue);
    m_sizeTenThousandths = std::llround(points * 10000.0);
}

QFont StdFont::toQFont() const
{
    QFont font(m_name);
    if (m_sizeTenThousandths > 0)
        font.setPointSizeF(size());
    font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(m_weight, 1, 1000)));
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikethrough);
    return font;
}

bool StdFont::sameLook(const StdFont& other) const
{
    return m_name == other.m_name && m_sizeTenThousandths == other.m_sizeTenThousandths
           && m_weight == other.m_weight && m_charset == other.m_charset && m_italic == other.m_italic
           && m_underline == other.m_underline && m_strikethrough == other.m_strikethrough;
}

QByteArray StdFont::persist() const
{
    QByteArray out = guidBytes(kClassId);
    out.append(static_cast<char>(kPersistVersion));
    appendLittleEndian<qint16>(out, m_charset);
    std::uint8_t flags = 0;
    if (m_italic)
        flags |= kFlagItalic;
    if (m_underline)
        flags |= kFlagUnderline;
    if (m_strikethrough)
        flags |= kFlagStrikethrough;
    out.append(static_cast<char>(flags));
    appendLittleEndian<qint16>(out, m_weight);
    appendLittleEndian<quint32>(out, static_cast<quint32>(m_sizeTenThousandths));
    const QByteArray face = sysapi::toAnsi(m_name).left(255);
    out.append(static_cast<char>(face.size()));
    out.append(face);
    return out;
}

std::shared_ptr<StdFont> StdFont::restore(const QByteArray& data, qsizetype* consumed)
{
    if (data.size() < kFixedPartSize || guidFromBytes(data.left(16)) != kClassId
        || static_cast<std::uint8_t>(data[16]) != kPersistVersion)
        corrupt();
    auto font = std::make_shared<StdFont>();
    font->m_charset = readLittleEndian<qint16>(data, 17);
    const auto flags = static_cast<std::uint8_t>(data[19]);
    font->m_italic = flags & kFlagItalic;
    font->m_underline = flags & kFlagUnderline;
    font->m_strikethrough = flags & kFlagStrikethrough;
    font->m_weight = readLittleEndian<qint16>(data, 20);
    font->m_sizeTenThousandths = readLittleEndian<quint32>(data, 22);
    const auto faceLength = static_cast<std::uint8_t>(data[26]);
    if (data.size() < kFixedPartSize + faceLength)
        corrupt();
    font->m_name = sysapi::fromAnsi(data.mid(kFixedPartSize, faceLength));
    if (consumed)
        *consumed = kFixedPartSize + faceLength;
    return font;
}

const TypeInfo& StdFont::typeInfo() const
{
    static const TypeInfo info = [] {
        TypeInfo t{QStringLiteral("StdFont"), QStringLiteral("Font"), QUuid(QStringLiteral("{BEF6E003-A874-101A-8BBA-00AA00300CAB}")), {}};
        const struct {
            const char* name;
            DispId id;
            ParamType type;
        } properties[] = {
            {"Name", Name, ParamType::String},        {"Size", Size, ParamType::Double},
            {"Bold", Bold, ParamType::Boolean},       {"Italic", Italic, ParamType::Boolean},
            {"Underline", Underline, ParamType::Boolean}, {"Strikethrough", Strikethrough, ParamType::Boolean},
            {"Weight", Weight, ParamType::Integer},   {"Charset", Charset, ParamType::Integer},
        };
        for (const auto& p : properties) {
            t.members.push_back(property(p.name, p.id, MemberKind::PropertyGet, p.type));
            t.members.push_back(property(p.name, p.id, MemberKind::PropertyPut, p.type));
        }
        return t;
    }();
    return info;
}

Variant StdFont::invokeMember(const MemberInfo& member, std::vector<Variant>& params)
{
    if (member.kind == MemberKind::PropertyGet) {
        switch (member.id) {
        case Name: return m_name;
        case Size: return size();
        case Bold: return bold();
        case Italic: return m_italic;
        case Underline: return m_underline;
        case Strikethrough: return m_strikethrough;
        case Weight: return m_weight;
        case Charset: return m_charset;
        }
        raiseError(ErrorNumber::NotSupported);
    }
    const Variant& value = params.at(0);
    switch (member.id) {
    case Name: m_name = value.toString(); break;
    case Size: setSize(value.toDouble()); break;
    case Bold: setBold(value.toBool()); break;
    case Italic: m_italic = value.toBool(); break;
    case Underline: m_underline = value.toBool(); break;
    case Strikethrough: m_strikethrough = value.toBool(); break;
    case Weight: m_weight = value.toInteger(); break;
    case Charset: m_charset = value.toInteger(); break;
    default: raiseError(ErrorNumber::NotSupported);
    }
    return {};
}

FontRef variantToFont(const Variant& value)
{
    return std::dynamic_pointer_cast<StdFont>(coerce(value, ParamType::Font).toObject());
}

} // namespace automation
