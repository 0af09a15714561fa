#include "automation/Variant.h"

#include "automation/AutomationError.h"
#include "automation/Conversions.h"
#include "automation/Dispatch.h"

#include <cmath>

namespace automation {
namespace {

[[noreturn]] void typeMismatch() { raiseError(ErrorNumber::TypeMismatch); }

// The value of an object's default member (dispatch id 0), as the runtime
// uses it when an object stands where a plain value is wanted.
Variant defaultValueOf(const ObjectRef& object)
{
    if (!object)
        raiseError(ErrorNumber::ObjectNotSet);
    std::vector<Variant> noArguments;
    try {
        return object->invoke(kDispIdValue, MemberKind::PropertyGet, noArguments);
    } catch (const AutomationError& error) {
        if (error.number() == ErrorNumber::NotSupported)
            typeMismatch();
        throw;
    }
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.m_value = NullValue{};
    return v;
}

Variant Variant::error(std::int32_t code)
{
    Variant v;
    v.m_value = ErrorValue{code};
    return v;
}

Variant Variant::byRef(Variant& target)
{
    Variant v;
    v.m_value = &target.target();
    return v;
}

Variant& Variant::target()
{
    if (auto* ref = std::get_if<Variant*>(&m_value))
        return **ref;
    return *this;
}

const Variant& Variant::target() const
{
    if (auto* ref = std::get_if<Variant*>(&m_value))
        return **ref;
    return *this;
}

VarType Variant::type() const
{
    const Variant& v = target();
    switch (v.m_value.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Null;
    case 2: return VarType::Integer;
    case 3: return VarType::Long;
    case 4: return VarType::Single;
    case 5: return VarType::Double;
    case 6: return VarType::Boolean;
    case 7: return VarType::String;
    case 8: return VarType::Object;
    case 9: return VarType::Error;
    }
    return VarType::Empty;
}

bool Variant::isMissing() const
{
    const auto* error = std::get_if<ErrorValue>(&target().m_value);
    return error && error->code == kParamNotFound;
}

bool Variant::isNumeric() const
{
    switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Boolean: return true;
    default: return false;
    }
}

void Variant::assign(const Variant& value)
{
    Variant copy = value.value();
    target().m_value = std::move(copy.m_value);
}

double Variant::toDouble() const
{
    const auto& v = target().m_value;
    switch (type()) {
    case VarType::Empty: return 0.0;
    case VarType::Null: raiseError(ErrorNumber::InvalidUseOfNull);
    case VarType::Integer: return std::get<std::int16_t>(v);
    case VarType::Long: return std::get<std::int32_t>(v);
    case VarType::Single: return std::get<float>(v);
    case VarType::Double: return std::get<double>(v);
    case VarType::Boolean: return std::get<BoolValue>(v).value ? -1.0 : 0.0;
    case VarType::String: return textToDouble(std::get<QString>(v));
    case VarType::Object: return defaultValueOf(std::get<ObjectRef>(v)).toDouble();
    case VarType::Error: typeMismatch();
    }
    typeMismatch();
}

std::int16_t Variant::toInteger() const
{
    switch (type()) {
    case VarType::Integer: return std::get<std::int16_t>(target().m_value);
    case VarType::Boolean: return std::get<BoolValue>(target().m_value).value ? -1 : 0;
    default: return doubleToInteger(toDouble());
    }
}

std::int32_t Variant::toLong() const
{
    switch (type()) {
    case VarType::Integer: return std::get<std::int16_t>(target().m_value);
    case VarType::Long: return std::get<std::int32_t>(target().m_value);
    case VarType::Boolean: return std::get<BoolValue>(target().m_value).value ? -1 : 0;
    default: return doubleToLong(toDouble());
    }
}

float Variant::toSingle() const
{
    const double value = toDouble();
    if (std::isfinite(value) && std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        raiseError(ErrorNumber::Overflow);
    return static_cast<float>(value);
}

bool Variant::toBool() const
{
    const auto& v = target().m_value;
    switch (type()) {
    case VarType::Boolean: return std::get<BoolValue>(v).value;
    case VarType::String: return textToBool(std::get<QString>(v));
    case VarType::Object: return defaultValueOf(std::get<ObjectRef>(v)).toBool();
    default: return toDouble() != 0.0;
    }
}

QString Variant::toString() const
{
    const auto& v = target().m_value;
    switch (type()) {
    case VarType::Empty: return QStringLiteral("");
    case VarType::Null: raiseError(ErrorNumber::InvalidUseOfNull);
    case VarType::Integer: return numberToText(static_cast<std::int32_t>(std::get<std::int16_t>(v)));
    case VarType::Long: return numberToText(std::get<std::int32_t>(v));
    case VarType::Single: return singleToText(std::get<float>(v));
    case VarType::Double: return numberToText(std::get<double>(v));
    case VarType::Boolean: return boolToText(std::get<BoolValue>(v).value);
    case VarType::String: return std::get<QString>(v);
    case VarType::Object: return defaultValueOf(std::get<ObjectRef>(v)).toString();
    case VarType::Error: return QStringLiteral("Error %1").arg(std::get<ErrorValue>(v).code);
    }
    typeMismatch();
}

ObjectRef Variant::toObject() const
{
    if (type() != VarType::Object)
        typeMismatch();
    return std::get<ObjectRef>(target().m_value);
}

std::int32_t Variant::errorCode() const
{
    if (type() != VarType::Error)
        typeMismatch();
    return std::get<ErrorValue>(target().m_value).code;
}

bool Variant::sameAs(const Variant& other) const
{
    return target().m_value == other.target().m_value;
}

QString Variant::typeName() const
{
    switch (type()) {
    case VarType::Empty: return QStringLiteral("Empty");
    case VarType::Null: return QStringLiteral("Null");
    case VarType::Integer: return QStringLiteral("Integer");
    case VarType::Long: return QStringLiteral("Long");
    case VarType::Single: return QStringLiteral("Single");
    case VarType::Double: return QStringLiteral("Double");
    case VarType::Boolean: return QStringLiteral("Boolean");
    case VarType::String: return QStringLiteral("String");
    case VarType::Error: return QStringLiteral("Error");
    case VarType::Object: {
        const ObjectRef& object = std::get<ObjectRef>(target().m_value);
        return object ? object->typeName() : QStringLiteral("Nothing");
    }
    }
    return {};
}

} // namespace automation
