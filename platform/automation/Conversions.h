#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

// Conversions between text and numbers by the automation rules. Failures are
// numbered errors: 13 (type mismatch) for text that is no number, 6
// (overflow) for a number outside the target's range.
namespace automation {

// Text to a number, in the given locale (the user's, by default): leading and
// trailing blanks, a leading sign, the locale's decimal separator, its group
// separator between digits of the whole part, an exponent ("1e3", "1D3"), and
// the prefixes "&H" (hexadecimal) and "&O" (octal), whose values of up to 16
// bits read as a signed 16-bit number and of up to 32 bits as a signed 32-bit
// number ("&HFFFF" is -1). Empty text and text that is no number fail with 13.
double textToDouble(const QString& text);
double textToDouble(const QString& text, const QLocale& locale);

// Rounds half to even (12.5 -> 12, 13.5 -> 14, -12.5 -> -12), then checks the
// range of a signed 16-bit / 32-bit number.
std::int16_t doubleToInteger(double value);
std::int32_t doubleToLong(double value);

// Rounds down towards minus infinity (7.9 -> 7, -0.5 -> -1), then checks the range.
std::int16_t floorToInteger(double value);
std::int32_t floorToLong(double value);

// Numbers as decimal text: whole numbers without a fraction, others with up to
// 15 (Double) or 7 (Single) significant digits, in the locale's notation.
QString numberToText(std::int32_t value);
QString numberToText(double value);
QString numberToText(double value, const QLocale& locale);
QString singleToText(float value);

// "True" / "False" in any case, or a number (anything but 0 is true).
bool textToBool(const QString& text);
QString boolToText(bool value);

} // namespace automation
