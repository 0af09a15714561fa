#pragma once

#include "automation/Variant.h"

#include <QString>
#include <QUuid>

#include <cstdint>
#include <optional>
#include <vector>

// Late binding: every class declares its members once, in a static type-info
// table, and derives from Dispatch, which checks and converts the arguments of
// a call against that table before the class sees them. In-process callers
// and the D-Bus server both call through here.
namespace automation {

using DispId = std::int32_t;

inline constexpr DispId kDispIdValue = 0;      // the default member
inline constexpr DispId kDispIdFont = -512;    // the standard Font property
inline constexpr DispId kDispIdEnabled = -514; // the standard Enabled property

enum class MemberKind { Method, PropertyGet, PropertyPut, PropertyPutRef };

// The declared type of a parameter or result.
enum class ParamType {
    Void,    // no result
    Variant, // any value, unconverted
    Integer,
    Long,
    Single,
    Double,
    Boolean,
    String,
    Object,  // any object, or Nothing
    Font,    // a StdFont, or Nothing
    Picture, // a StdPicture, or Nothing
    Color,   // an OLE colour: 32 bits, carried as a Long
    Enum,    // a 32-bit enumeration, carried as a Long
};

struct ParamInfo {
    QString name;
    ParamType type = ParamType::Variant;
    bool byRef = false;
    bool optional = false;
    Variant defaultValue = {}; // what an optional parameter left out receives
};

struct MemberInfo {
    QString name;
    DispId id = 0;
    MemberKind kind = MemberKind::Method;
    ParamType result = ParamType::Void;
    std::vector<ParamInfo> params = {};
    QString description = {}; // the help string shown by property browsers
    // The member may ask the user something (a warning box): callers that
    // read properties in bulk, such as property browsers, leave it out.
    bool mayAskUser = false;
};

struct TypeInfo {
    QString typeName;      // what the object answers as its type name
    QString interfaceName; // "_Application"
    QUuid interfaceId;
    std::vector<MemberInfo> members; // in the order of the interface

    const MemberInfo* find(DispId id, MemberKind kind) const;
    const MemberInfo* find(const QString& name, MemberKind kind) const;
    // The id of a member name, compared without regard to case.
    std::optional<DispId> idOfName(const QString& name) const;
};

// Converts a value to a declared type (13 or 6 when it cannot).
Variant coerce(const Variant& value, ParamType type);

// OLE colours travel as Longs (0x8000000F as -2147483633).
inline Variant colorToVariant(std::uint32_t color) { return static_cast<std::int32_t>(color); }
std::uint32_t variantToColor(const Variant& value);

// Rows of a type-info table: a property's read, and its write, whose one
// argument is named New_<property>.
MemberInfo propertyGet(const QString& name, DispId id, ParamType type, const QString& description = {});
MemberInfo propertyPut(const QString& name, DispId id, ParamType type, const QString& description = {},
                       MemberKind kind = MemberKind::PropertyPut, bool byRef = false);

class Dispatch {
public:
    virtual ~Dispatch();

    virtual const TypeInfo& typeInfo() const = 0;
    virtual QString typeName() const { return typeInfo().typeName; }

    // The dispatch id of a member; an unknown name fails with 438.
    DispId idOfName(const QString& name) const;

    // Calls a member. `args` are in the declared order; a missing or
    // Variant::missing() argument takes its default when it is optional and
    // fails with 449 when it is not. Each argument is converted to its
    // declared type (13 or 6 on failure). After the call the values of
    // by-reference parameters are written back into `args` (through the
    // argument when it is itself a reference). An unknown id or a kind the
    // member lacks fails with 438, too many arguments with 450.
    Variant invoke(DispId id, MemberKind kind, std::vector<Variant>& args);
    Variant invoke(const QString& name, MemberKind kind, std::vector<Variant>& args);

    // Conveniences for code that binds late.
    Variant getProperty(const QString& name);
    void putProperty(const QString& name, const Variant& value);
    void putPropertyById(DispId id, const Variant& value);

protected:
    // Runs the member. `params` hold one converted value per declared
    // parameter; the member may change those of by-reference parameters.
    virtual Variant invokeMember(const MemberInfo& member, std::vector<Variant>& params) = 0;
};

} // namespace automation
