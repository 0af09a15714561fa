#include "system/CodePage.h"

#include <array>

namespace sysapi {
namespace {

// Codes 0x80-0x9F; everything else maps to the same Unicode number.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isInHighControlBlock(char16_t character) { return character >= 0x80 && character <= 0x9F; }

} // namespace

char16_t ansiToUnicode(unsigned char code)
{
    if (code >= 0x80 && code <= 0x9F)
        return kHighControlBlock[code - 0x80];
    return code;
}

std::optional<unsigned char> unicodeToAnsi(char16_t character)
{
    if (character < 0x100 && !isInHighControlBlock(character))
        return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == character)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

QString fromAnsi(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.append(QChar(ansiToUnicode(static_cast<unsigned char>(byte))));
    return text;
}

QByteArray toAnsi(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t character = text.at(i).unicode();
        if (QChar::isHighSurrogate(character) && i + 1 < text.size()
            && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            bytes.append(ansiDefaultCharacter);
            continue;
        }
        const auto code = unicodeToAnsi(character);
        bytes.append(code ? static_cast<char>(*code) : ansiDefaultCharacter);
    }
    return bytes;
}

} // namespace sysapi
