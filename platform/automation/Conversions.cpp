#include "automation/Conversions.h"

#include "automation/AutomationError.h"

#include <cmath>
#include <limits>
#include <optional>

namespace automation {
namespace {

[[noreturn]] void typeMismatch() { raiseError(ErrorNumber::TypeMismatch); }
[[noreturn]] void overflow() { raiseError(ErrorNumber::Overflow); }

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int digitValue(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'Z')
        return 10 + (u - u'A');
    return 99;
}

// "&H1F", "&O17": the value as the runtime reads such a literal.
std::optional<double> radixLiteral(const QString& text)
{
    if (text.size() < 3 || text.at(0) != u'&')
        return std::nullopt;
    const QChar kind = text.at(1).toUpper();
    const int radix = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (radix == 0)
        return std::nullopt;
    std::uint64_t value = 0;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const int digit = digitValue(text.at(i));
        if (digit >= radix)
            typeMismatch();
        value = value * radix + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            overflow();
    }
    if (value <= 0xFFFF)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

double roundHalfToEven(double value)
{
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return rounded;
}

template <typename Int>
Int checkedWhole(double whole)
{
    if (!std::isfinite(whole) || whole < static_cast<double>(std::numeric_limits<Int>::min())
        || whole > static_cast<double>(std::numeric_limits<Int>::max()))
        overflow();
    return static_cast<Int>(whole);
}

QString withLocaleNotation(QString text, const QLocale& locale)
{
    text.replace(u'e', u'E');
    if (locale.decimalPoint() != QLatin1String("."))
        text.replace(u'.', locale.decimalPoint());
    return text;
}

} // namespace

double textToDouble(const QString& text) { return textToDouble(text, QLocale()); }

double textToDouble(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (auto literal = radixLiteral(trimmed))
        return *literal;

    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    QString plain; // the number in the C locale's notation
    qsizetype i = 0;
    if (i < trimmed.size() && (trimmed.at(i) == u'+' || trimmed.at(i) == u'-'))
        plain += trimmed.at(i++);
    int mantissaDigits = 0;
    bool inFraction = false;
    while (i < trimmed.size()) {
        const QChar c = trimmed.at(i);
        if (isAsciiDigit(c)) {
            plain += c;
            ++mantissaDigits;
            ++i;
        } else if (!inFraction && !decimal.isEmpty() && trimmed.mid(i).startsWith(decimal)) {
            plain += u'.';
            inFraction = true;
            i += decimal.size();
        } else if (!inFraction && !group.isEmpty() && mantissaDigits > 0 && trimmed.mid(i).startsWith(group)
                   && i + group.size() < trimmed.size() && isAsciiDigit(trimmed.at(i + group.size()))) {
            i += group.size();
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        typeMismatch();
    if (i < trimmed.size()) {
        const QChar marker = trimmed.at(i).toUpper();
        if (marker != u'E' && marker != u'D')
            typeMismatch();
        plain += u'e';
        ++i;
        if (i < trimmed.size() && (trimmed.at(i) == u'+' || trimmed.at(i) == u'-'))
            plain += trimmed.at(i++);
        int exponentDigits = 0;
        while (i < trimmed.size() && isAsciiDigit(trimmed.at(i))) {
            plain += trimmed.at(i++);
            ++exponentDigits;
        }
        if (exponentDigits == 0 || i < trimmed.size())
            typeMismatch();
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value)) {
        // The C locale rejects only numbers beyond the range of a Double here.
        overflow();
    }
    return value;
}

std::int16_t doubleToInteger(double value) { return checkedWhole<std::int16_t>(roundHalfToEven(value)); }
std::int32_t doubleToLong(double value) { return checkedWhole<std::int32_t>(roundHalfToEven(value)); }
std::int16_t floorToInteger(double value) { return checkedWhole<std::int16_t>(std::floor(value)); }
std::int32_t floorToLong(double value) { return checkedWhole<std::int32_t>(std::floor(value)); }

QString numberToText(std::int32_t value) { return QString::number(value); }

QString numberToText(double value) { return numberToText(value, QLocale()); }

QString numberToText(double value, const QLocale& locale)
{
    if (value == 0.0)
        return QStringLiteral("0");
    return withLocaleNotation(QString::number(value, 'g', 15), locale);
}

QString singleToText(float value)
{
    if (value == 0.0f)
        return QStringLiteral("0");
    return withLocaleNotation(QString::number(static_cast<double>(value), 'g', 7), QLocale());
}

bool textToBool(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return textToDouble(trimmed) != 0.0;
}

QString boolToText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

} // namespace automation
