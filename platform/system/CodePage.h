#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The ANSI code page of the system: Windows-1252, fixed on every machine.
// Every code 0-255 denotes exactly one character. The five codes the page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) denote the C1 control
// characters of the same number, as the Windows conversion functions do,
// so that any byte string survives a round trip through text.
namespace sysapi {

// The character that a code of the page denotes.
char16_t ansiToUnicode(unsigned char code);

// The code of a character, or nothing when the page has no such character.
std::optional<unsigned char> unicodeToAnsi(char16_t character);

QString fromAnsi(const QByteArray& bytes);

// Characters that the page lacks become the default character "?"; a
// surrogate pair (one character outside the basic plane) becomes one "?".
QByteArray toAnsi(const QString& text);

inline constexpr char ansiDefaultCharacter = '?';

} // namespace sysapi
