#pragma once

#include <QString>

#include <concepts>
#include <cstdint>
#include <memory>
#include <variant>

namespace automation {

class Dispatch;
// Objects are shared and reference-counted; an empty reference is Nothing.
using ObjectRef = std::shared_ptr<Dispatch>;

// The automation value types, numbered as the platform numbers them.
enum class VarType : std::uint8_t {
    Empty = 0,
    Null = 1,
    Integer = 2, // signed 16-bit
    Long = 3,    // signed 32-bit
    Single = 4,
    Double = 5,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
};

// The error code that marks an optional argument the caller left out.
inline constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004u);

// A value of one of the automation types, or a reference to another Variant
// (a by-reference argument). Reads see through a reference; assign() writes
// through it. Booleans are true (-1) or false (0) wherever they become numbers.
class Variant {
public:
    Variant() = default;
    Variant(std::int16_t value) : m_value(value) {}
    Variant(std::int32_t value) : m_value(value) {}
    Variant(float value) : m_value(value) {}
    Variant(double value) : m_value(value) {}
    Variant(bool value) : m_value(BoolValue{value}) {}
    Variant(QString value) : m_value(std::move(value)) {}
    Variant(const char* utf8) : m_value(QString::fromUtf8(utf8)) {}
    Variant(ObjectRef object) : m_value(std::move(object)) {}
    template <typename T>
        requires std::derived_from<T, Dispatch>
    Variant(std::shared_ptr<T> object) : m_value(ObjectRef(std::move(object)))
    {
    }

    static Variant null();
    static Variant error(std::int32_t code);
    // An optional argument left out.
    static Variant missing() { return error(kParamNotFound); }
    // A reference to `target`, which must outlive the reference.
    static Variant byRef(Variant& target);

    VarType type() const;
    bool isByRef() const { return std::holds_alternative<Variant*>(m_value); }
    bool isEmpty() const { return type() == VarType::Empty; }
    bool isNull() const { return type() == VarType::Null; }
    bool isMissing() const;
    bool isNumeric() const; // Integer, Long, Single, Double or Boolean

    // The referenced Variant, or this one when it holds a value.
    Variant& target();
    const Variant& target() const;
    // A copy of the value, never a reference.
    Variant value() const { return target(); }
    // Stores `value` here, or in the referenced Variant.
    void assign(const Variant& value);

    // Conversions by the automation rules. They fail with error 13 (type
    // mismatch) for a value that has no such form, 6 (overflow) for a number
    // outside the target's range and 94 for Null.
    std::int16_t toInteger() const;
    std::int32_t toLong() const;
    float toSingle() const;
    double toDouble() const;
    bool toBool() const;
    QString toString() const;
    // An object reference (empty for Nothing); any other value fails with 13.
    ObjectRef toObject() const;
    std::int32_t errorCode() const; // the code of an Error value; 13 otherwise

    // Same type and value; objects are the same only when they are the same object.
    bool sameAs(const Variant& other) const;

    // The name of the value's type as the runtime names it ("Integer", "String", ...).
    QString typeName() const;

private:
    struct NullValue {
        bool operator==(const NullValue&) const = default;
    };
    struct BoolValue {
        bool value;
        bool operator==(const BoolValue&) const = default;
    };
    struct ErrorValue {
        std::int32_t code;
        bool operator==(const ErrorValue&) const = default;
    };

    std::variant<std::monostate, NullValue, std::int16_t, std::int32_t, float, double, BoolValue, QString, ObjectRef,
                 ErrorValue, Variant*>
        m_value;
};

// The Boolean of an automation interface: -1 for true, 0 for false.
inline std::int16_t toAutomationBool(bool value) { return value ? -1 : 0; }

} // namespace automation
