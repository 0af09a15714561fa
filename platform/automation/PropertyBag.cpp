#include "automation/PropertyBag.h"

#include "automation/AutomationError.h"
#include "automation/StdFont.h"
#include "automation/StdPicture.h"

#include <QBuffer>
#include <QSet>
#include <QtEndian>

#include <cstring>

namespace automation {
namespace {

constexpr char kMagic[4] = {'V', 'X', 'P', 'B'};
constexpr std::uint8_t kVersion = 1;
enum ObjectKind : std::uint8_t { NoObject = 0, FontObject = 1, PictureObject = 2 };

[[noreturn]] void corrupt() { raiseError(ErrorNumber::InvalidFileFormat); }

class Writer {
public:
    template <typename T>
    void put(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        m_out.append(bytes, sizeof(T));
    }
    void putText16(const QString& text)
    {
        put<quint16>(static_cast<quint16>(text.size()));
        putUtf16(text);
    }
    void putText32(const QString& text)
    {
        put<quint32>(static_cast<quint32>(text.size()));
        putUtf16(text);
    }
    void putBlob(const QByteArray& blob)
    {
        put<quint32>(static_cast<quint32>(blob.size()));
        m_out.append(blob);
    }
    void putRaw(const char* data, qsizetype size) { m_out.append(data, size); }
    QByteArray bytes() const { return m_out; }

private:
    void putUtf16(const QString& text)
    {
        for (QChar c : text)
            put<quint16>(c.unicode());
    }
    QByteArray m_out;
};

// Every read checks the bytes that remain, so corrupt data ends in error 321
// and never reads past the end or allocates more than the data could hold.
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    template <typename T>
    T get()
    {
        need(sizeof(T));
        const T value = qFromLittleEndian<T>(m_data.constData() + m_pos);
        m_pos += sizeof(T);
        return value;
    }
    QString getText(qsizetype units)
    {
        need(units * 2);
        QString text(units, Qt::Uninitialized);
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(get<quint16>());
        return text;
    }
    QByteArray getBlob()
    {
        const qsizetype size = get<quint32>();
        need(size);
        QByteArray blob = m_data.mid(m_pos, size);
        m_pos += size;
        return blob;
    }
    qsizetype remaining() const { return m_data.size() - m_pos; }

private:
    void need(qsizetype size) const
    {
        if (size < 0 || size > remaining())
            corrupt();
    }
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

void writeObject(Writer& out, const ObjectRef& object)
{
    if (!object) {
        out.put<quint8>(NoObject);
    } else if (auto font = std::dynamic_pointer_cast<StdFont>(object)) {
        out.put<quint8>(FontObject);
        out.putBlob(font->persist());
    } else if (auto picture = std::dynamic_pointer_cast<StdPicture>(object)) {
        out.put<quint8>(PictureObject);
        out.put<qint16>(picture->type());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (picture->type() != StdPicture::None)
            picture->pixmap().save(&buffer, "PNG");
        out.putBlob(png);
    } else {
        // Only fonts and pictures know how to persist themselves.
        raiseError(ErrorNumber::TypeMismatch);
    }
}

void writeValue(Writer& out, const Variant& value)
{
    out.put<quint8>(static_cast<quint8>(value.type()));
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null: break;
    case VarType::Integer: out.put<qint16>(value.toInteger()); break;
    case VarType::Boolean: out.put<qint16>(toAutomationBool(value.toBool())); break;
    case VarType::Long: out.put<qint32>(value.toLong()); break;
    case VarType::Error: out.put<qint32>(value.errorCode()); break;
    case VarType::Single: {
        const float f = value.toSingle();
        quint32 bits;
        std::memcpy(&bits, &f, sizeof bits);
        out.put<quint32>(bits);
        break;
    }
    case VarType::Double: {
        const double d = value.toDouble();
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        out.put<quint64>(bits);
        break;
    }
    case VarType::String: out.putText32(value.toString()); break;
    case VarType::Object: writeObject(out, value.toObject()); break;
    }
}

Variant readObject(Reader& in)
{
    switch (in.get<quint8>()) {
    case NoObject: return ObjectRef{};
    case FontObject: {
        const QByteArray blob = in.getBlob();
        qsizetype consumed = 0;
        auto font = StdFont::restore(blob, &consumed);
        if (consumed != blob.size())
            corrupt();
        return font;
    }
    case PictureObject: {
        const auto type = in.get<qint16>();
        const QByteArray png = in.getBlob();
        QPixmap pixmap;
        if (type != StdPicture::None && !pixmap.loadFromData(png, "PNG"))
            corrupt();
        if (type == StdPicture::Icon)
            return StdPicture::fromIcon(QIcon(pixmap));
        if (type == StdPicture::None)
            return std::make_shared<StdPicture>();
        return StdPicture::fromBitmap(pixmap);
    }
    }
    corrupt();
}

Variant readValue(Reader& in)
{
    switch (static_cast<VarType>(in.get<quint8>())) {
    case VarType::Empty: return {};
    case VarType::Null: return Variant::null();
    case VarType::Integer: return in.get<qint16>();
    case VarType::Boolean: return in.get<qint16>() != 0;
    case VarType::Long: return in.get<qint32>();
    case VarType::Error: return Variant::error(in.get<qint32>());
    case VarType::Single: {
        const quint32 bits = in.get<quint32>();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case VarType::Double: {
        const quint64 bits = in.get<quint64>();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    case VarType::String: return in.getText(in.get<quint32>());
    case VarType::Object: return readObject(in);
    }
    corrupt();
}

// The key as the case-insensitive comparison of find() sees it: each code
// point folded on its own (a surrogate pair as one, a lone surrogate as it is).
QString foldedKey(const QString& name)
{
    QString folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar unit = name.at(i);
        if (unit.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            const char32_t folded32 = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, name.at(i + 1)));
            folded += QChar(QChar::highSurrogate(folded32));
            folded += QChar(QChar::lowSurrogate(folded32));
            ++i;
        } else {
            folded += unit.toCaseFolded();
        }
    }
    return folded;
}

} // namespace

std::vector<std::pair<QString, Variant>>::const_iterator PropertyBag::find(const QString& name) const
{
    return std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

Variant PropertyBag::readProperty(const QString& name, const Variant& defaultValue) const
{
    if (m_readLog)
        m_readLog->append(name);
    const auto it = find(name);
    return it == m_entries.end() ? defaultValue.value() : it->second;
}

void PropertyBag::writeProperty(const QString& name, const Variant& value, const Variant& defaultValue)
{
    const auto existing = find(name);
    if (value.sameAs(defaultValue)) {
        if (existing != m_entries.end())
            m_entries.erase(existing);
        return;
    }
    if (value.type() == VarType::Object) {
        Writer probe; // refuse what cannot be stored before anything changes
        writeObject(probe, value.toObject());
    }
    if (existing != m_entries.end())
        m_entries[static_cast<std::size_t>(existing - m_entries.begin())].second = value.value();
    else
        m_entries.emplace_back(name, value.value());
}

bool PropertyBag::contains(const QString& name) const { return find(name) != m_entries.end(); }

QStringList PropertyBag::names() const
{
    QStringList result;
    for (const auto& entry : m_entries)
        result << entry.first;
    return result;
}

void PropertyBag::setExtent(std::int32_t width, std::int32_t height)
{
    writeProperty(QStringLiteral("_ExtentX"), width);
    writeProperty(QStringLiteral("_ExtentY"), height);
}

QByteArray PropertyBag::toBytes() const
{
    Writer out;
    out.putRaw(kMagic, sizeof kMagic);
    out.put<quint8>(kVersion);
    out.put<quint32>(static_cast<quint32>(m_entries.size()));
    for (const auto& [name, value] : m_entries) {
        out.putText16(name);
        writeValue(out, value);
    }
    return out.bytes();
}

PropertyBag PropertyBag::fromBytes(const QByteArray& bytes)
{
    Reader in(bytes);
    char magic[sizeof kMagic];
    for (char& c : magic)
        c = static_cast<char>(in.get<quint8>());
    if (std::memcmp(magic, kMagic, sizeof kMagic) != 0 || in.get<quint8>() != kVersion)
        corrupt();
    const quint32 count = in.get<quint32>();
    PropertyBag bag;
    QSet<QString> seen; // one look-up per key keeps large bags linear
    for (quint32 i = 0; i < count; ++i) {
        if (in.remaining() < 3) // a key length and a type tag at least
            corrupt();
        const QString name = in.getText(in.get<quint16>());
        Variant value = readValue(in);
        const qsizetype before = seen.size();
        seen.insert(foldedKey(name));
        if (seen.size() == before)
            corrupt();
        bag.m_entries.emplace_back(name, std::move(value));
    }
    if (in.remaining() != 0)
        corrupt();
    return bag;
}

} // namespace automation
