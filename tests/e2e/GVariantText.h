#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// Reads values in the text form that gdbus prints (GVariant text format):
//
//   <...>                   a variant: a QDBusVariant around the value, so a
//                           test sees how deep a value is wrapped
//   (a, b) and [a, b]       tuples and arrays: QVariantList
//   'text' and "text"       QString, with the usual backslash escapes
//   true, false             bool
//   12, -3, 0x1f, 1.5       qlonglong, or double with a point or exponent
//   int16 12, @av [] ...    type annotations, which are skipped
//
// Dictionaries are not read. Nothing when the text is not one whole value.
namespace e2e {

std::optional<QVariant> parseGVariantText(const QString& text);

// The value inside a variant; an invalid QVariant when `value` is no variant.
QVariant unboxed(const QVariant& value);

} // namespace e2e
