#include "automation/Dispatch.h"

#include "automation/AutomationError.h"
#include "automation/StdFont.h"
#include "automation/StdPicture.h"

#include <cmath>

namespace automation {
namespace {

template <typename T>
Variant objectOfClass(const Variant& value)
{
    const ObjectRef object = value.toObject();
    if (object && !std::dynamic_pointer_cast<T>(object))
        raiseError(ErrorNumber::TypeMismatch);
    return object;
}

// A colour travels as a Long, but clients may hand in the unsigned form of
// a system colour (0x8000000F as 2147483663). Any other number outside the
// Long range overflows, 0xFFFFFFFF as 4294967295 included: it names no
// colour.
constexpr double kFirstSystemColor = 2147483648.0; // 0x80000000
constexpr double kLastSystemColor = 2164260863.0;  // 0x80FFFFFF

Variant colorValue(const Variant& value)
{
    if (value.type() == VarType::Double || value.type() == VarType::Single || value.type() == VarType::String) {
        // Rounded half to even, as every conversion to a whole number.
        const double number = std::nearbyint(value.toDouble());
        if (number >= kFirstSystemColor && number <= kLastSystemColor)
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    }
    return value.toLong();
}

} // namespace

Variant coerce(const Variant& value, ParamType type)
{
    switch (type) {
    case ParamType::Void:
    case ParamType::Variant: return value.value();
    case ParamType::Integer: return value.toInteger();
    case ParamType::Long:
    case ParamType::Enum: return value.toLong();
    case ParamType::Single: return value.toSingle();
    case ParamType::Double: return value.toDouble();
    case ParamType::Boolean: return value.toBool();
    case ParamType::String: return value.toString();
    case ParamType::Object: return value.toObject();
    case ParamType::Font: return objectOfClass<StdFont>(value);
    case ParamType::Picture: return objectOfClass<StdPicture>(value);
    case ParamType::Color: return colorValue(value);
    }
    return value.value();
}

std::uint32_t variantToColor(const Variant& value)
{
    return static_cast<std::uint32_t>(coerce(value, ParamType::Color).toLong());
}

MemberInfo propertyGet(const QString& name, DispId id, ParamType type, const QString& description)
{
    return MemberInfo{name, id, MemberKind::PropertyGet, type, {}, description};
}

MemberInfo propertyPut(const QString& name, DispId id, ParamType type, const QString& description, MemberKind kind,
                       bool byRef)
{
    return MemberInfo{name, id, kind, ParamType::Void, {ParamInfo{QStringLiteral("New_") + name, type, byRef}},
                      description};
}

const MemberInfo* TypeInfo::find(DispId id, MemberKind kind) const
{
    for (const MemberInfo& member : members) {
        if (member.id == id && member.kind == kind)
            return &member;
    }
    return nullptr;
}

const MemberInfo* TypeInfo::find(const QString& name, MemberKind kind) const
{
    const auto id = idOfName(name);
    return id ? find(*id, kind) : nullptr;
}

std::optional<DispId> TypeInfo::idOfName(const QString& name) const
{
    for (const MemberInfo& member : members) {
        if (member.name.compare(name, Qt::CaseInsensitive) == 0)
            return member.id;
    }
    return std::nullopt;
}

Dispatch::~Dispatch() = default;

DispId Dispatch::idOfName(const QString& name) const
{
    const auto id = typeInfo().idOfName(name);
    if (!id)
        raiseError(ErrorNumber::NotSupported);
    return *id;
}

Variant Dispatch::invoke(DispId id, MemberKind kind, std::vector<Variant>& args)
{
    const MemberInfo* member = typeInfo().find(id, kind);
    if (!member)
        raiseError(ErrorNumber::NotSupported);
    if (args.size() > member->params.size())
        raiseError(ErrorNumber::WrongNumberOfArguments);

    std::vector<Variant> params;
    params.reserve(member->params.size());
    for (std::size_t i = 0; i < member->params.size(); ++i) {
        const ParamInfo& param = member->params[i];
        const bool given = i < args.size() && !args[i].isMissing();
        if (!given && !param.optional)
            raiseError(ErrorNumber::ArgumentNotOptional);
        params.push_back(given ? coerce(args[i], param.type) : param.defaultValue);
    }

    Variant result = invokeMember(*member, params);

    for (std::size_t i = 0; i < args.size(); ++i) {
        if (member->params[i].byRef && !args[i].isMissing())
            args[i].assign(params[i]);
    }
    return result;
}

Variant Dispatch::invoke(const QString& name, MemberKind kind, std::vector<Variant>& args)
{
    return invoke(idOfName(name), kind, args);
}

Variant Dispatch::getProperty(const QString& name)
{
    std::vector<Variant> args;
    return invoke(name, MemberKind::PropertyGet, args);
}

void Dispatch::putProperty(const QString& name, const Variant& value)
{
    putPropertyById(idOfName(name), value);
}

void Dispatch::putPropertyById(DispId id, const Variant& value)
{
    std::vector<Variant> args{value};
    const bool isObject = value.type() == VarType::Object;
    if (isObject && typeInfo().find(id, MemberKind::PropertyPutRef))
        invoke(id, MemberKind::PropertyPutRef, args);
    else
        invoke(id, MemberKind::PropertyPut, args);
}

} // namespace automation
