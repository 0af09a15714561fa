#pragma once

#include "automation/Variant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace automation {

// A control's persisted settings inside its host's stored data: named values,
// keys compared without regard to case, kept in the order first written.
//
// Byte form (little-endian), written by toBytes() and read by fromBytes():
//   "VXPB", version (byte, 1), entry count (32-bit)
//   per entry: key length in UTF-16 units (16-bit), the key in UTF-16,
//              type tag (byte, the VarType number), then the value:
//     Empty, Null        nothing
//     Integer, Boolean   16-bit (Boolean -1 or 0)
//     Long, Error        32-bit
//     Single, Double     IEEE 754, 32 / 64 bits
//     String             length in UTF-16 units (32-bit), then the text
//     Object             kind (byte): 0 Nothing; 1 font: length (32-bit) and
//                        the font's persisted form; 2 picture: picture type
//                        (16-bit), length (32-bit) and a PNG image
class PropertyBag {
public:
    // The stored value, or `defaultValue` when the key is absent. Converting
    // the result to the wanted type fails with 13 or 6 as any conversion does.
    Variant readProperty(const QString& name, const Variant& defaultValue = {}) const;
    // Stores the value, unless it equals `defaultValue` (then any stored value
    // of that key is removed). Objects equal only the same object.
    void writeProperty(const QString& name, const Variant& value, const Variant& defaultValue = {});

    // While a log is attached, every readProperty() appends the key it was
    // asked for, so that a host can tell how far a failed restore got.
    void recordReadsInto(QStringList* log) const { m_readLog = log; }

    bool contains(const QString& name) const;
    QStringList names() const;
    bool isEmpty() const { return m_entries.empty(); }
    void clear() { m_entries.clear(); }

    // The host's size of the instance in hundredths of a millimetre, stored
    // under "_ExtentX" / "_ExtentY".
    void setExtent(std::int32_t width, std::int32_t height);

    QByteArray toBytes() const;
    // Reads the byte form; corrupt or truncated data fails with 321.
    static PropertyBag fromBytes(const QByteArray& bytes);

private:
    std::vector<std::pair<QString, Variant>>::const_iterator find(const QString& name) const;

    std::vector<std::pair<QString, Variant>> m_entries;
    mutable QStringList* m_readLog = nullptr;
};

} // namespace automation
