#include "GVariantText.h"

#include <QDBusVariant>
#include <QVariantList>

namespace e2e {
namespace {

// Words that gdbus prints before a number to name its type.
const QStringList kTypeWords = {QStringLiteral("byte"),   QStringLiteral("int16"),      QStringLiteral("uint16"),
                                QStringLiteral("int32"),  QStringLiteral("uint32"),     QStringLiteral("int64"),
                                QStringLiteral("uint64"), QStringLiteral("double"),     QStringLiteral("handle"),
                                QStringLiteral("boolean"), QStringLiteral("objectpath"), QStringLiteral("signature"),
                                QStringLiteral("string")};

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    std::optional<QVariant> whole()
    {
        auto value = parseValue();
        skipBlanks();
        if (!value || m_pos != m_text.size())
            return std::nullopt;
        return value;
    }

private:
    std::optional<QVariant> parseValue()
    {
        skipBlanks();
        if (atEnd())
            return std::nullopt;
        const QChar c = peek();
        if (c == u'<') {
            ++m_pos;
            auto inner = parseValue();
            if (!inner || !expect(u'>'))
                return std::nullopt;
            return QVariant::fromValue(QDBusVariant(*inner));
        }
        if (c == u'(')
            return parseSequence(u')');
        if (c == u'[')
            return parseSequence(u']');
        if (c == u'\'' || c == u'"')
            return parseString();
        if (c == u'@') {
            // A type annotation: "@av []".
            while (!atEnd() && !peek().isSpace())
                ++m_pos;
            return parseValue();
        }
        if (c.isLetter())
            return parseWord();
        return parseNumber();
    }

    std::optional<QVariant> parseSequence(QChar close)
    {
        ++m_pos;
        QVariantList items;
        skipBlanks();
        if (!atEnd() && peek() == close) {
            ++m_pos;
            return items;
        }
        for (;;) {
            auto item = parseValue();
            if (!item)
                return std::nullopt;
            items << *item;
            skipBlanks();
            if (atEnd())
                return std::nullopt;
            if (peek() == close) {
                ++m_pos;
                return items;
            }
            if (!expect(u','))
                return std::nullopt;
            skipBlanks();
            // A one-element tuple ends in a comma: "(x,)".
            if (!atEnd() && peek() == close) {
                ++m_pos;
                return items;
            }
        }
    }

    std::optional<QVariant> parseString()
    {
        const QChar quote = m_text.at(m_pos++);
        QString result;
        while (!atEnd()) {
            const QChar c = m_text.at(m_pos++);
            if (c == quote)
                return result;
            if (c != u'\\') {
                result += c;
                continue;
            }
            if (atEnd())
                return std::nullopt;
            const QChar e = m_text.at(m_pos++);
            switch (e.unicode()) {
            case 'n': result += u'\n'; break;
            case 'r': result += u'\r'; break;
            case 't': result += u'\t'; break;
            case 'a': result += u'\a'; break;
            case 'b': result += u'\b'; break;
            case 'f': result += u'\f'; break;
            case 'v': result += u'\v'; break;
            case 'u':
            case 'U': {
                const int digits = e == u'u' ? 4 : 8;
                bool ok = false;
                const uint code = m_text.mid(m_pos, digits).toUInt(&ok, 16);
                if (!ok || m_pos + digits > m_text.size())
                    return std::nullopt;
                m_pos += digits;
                const char32_t point = code;
                result += QString::fromUcs4(&point, 1);
                break;
            }
            default: result += e; break; // \\, \', \"
            }
        }
        return std::nullopt;
    }

    std::optional<QVariant> parseWord()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && (peek().isLetterOrNumber() || peek() == u'_'))
            ++m_pos;
        const QString word = m_text.mid(start, m_pos - start);
        if (word == QLatin1String("true"))
            return QVariant(true);
        if (word == QLatin1String("false"))
            return QVariant(false);
        if (kTypeWords.contains(word))
            return parseValue();
        return std::nullopt;
    }

    std::optional<QVariant> parseNumber()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && (peek().isLetterOrNumber() || peek() == u'-' || peek() == u'+' || peek() == u'.'))
            ++m_pos;
        const QString number = m_text.mid(start, m_pos - start);
        bool ok = false;
        const qlonglong whole = number.toLongLong(&ok, 0);
        if (ok)
            return QVariant(whole);
        const double real = number.toDouble(&ok);
        return ok ? std::optional<QVariant>(QVariant(real)) : std::nullopt;
    }

    bool expect(QChar c)
    {
        skipBlanks();
        if (atEnd() || peek() != c)
            return false;
        ++m_pos;
        return true;
    }

    void skipBlanks()
    {
        while (!atEnd() && peek().isSpace())
            ++m_pos;
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text.at(m_pos); }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<QVariant> parseGVariantText(const QString& text) { return Parser(text).whole(); }

QVariant unboxed(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<QDBusVariant>())
        return {};
    return value.value<QDBusVariant>().variant();
}

} // namespace e2e
