#include "support/ErrorNumber.h"
#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "automation/PropertyBag.h"
#include "automation/StdFont.h"

#include <gtest/gtest.h>

#include <optional>

using namespace automation;

namespace {

// A small class with a by-reference method, an optional parameter and a
// read/write property, declared the way the system's classes declare theirs.
class Greeter : public Dispatch {
public:
    std::int16_t count = 3;
    QString lastGreeting;

    const TypeInfo& typeInfo() const override
    {
        static const TypeInfo info{
            QStringLiteral("Greeter"),
            QStringLiteral("_Greeter"),
            QUuid(),
            {
                {QStringLiteral("Count"), 1, MemberKind::PropertyPut, ParamType::Void,
                 {{QStringLiteral("New_Count"), ParamType::Integer}}},
                {QStringLiteral("Count"), 1, MemberKind::PropertyGet, ParamType::Integer},
                {QStringLiteral("Greet"), 2, MemberKind::Method, ParamType::Boolean,
                 {{QStringLiteral("Name"), ParamType::String, true},
                  {QStringLiteral("Punctuation"), ParamType::String, false, true, QStringLiteral("!")}}},
                {QStringLiteral("Font"), kDispIdFont, MemberKind::PropertyPutRef, ParamType::Void,
                 {{QStringLiteral("New_Font"), ParamType::Font}}},
            }};
        return info;
    }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& params) override
    {
        switch (member.id) {
        case 1:
            if (member.kind == MemberKind::PropertyGet)
                return count;
            count = params[0].toInteger();
            return {};
        case 2:
            lastGreeting = QStringLiteral("Hello, ") + params[0].toString() + params[1].toString();
            params[0].assign(params[0].toString().toUpper());
            return true;
        }
        return {};
    }
};

TEST(DispatchInvoke, ByIdWritesByReferenceArgumentsBackAndFillsOptionalOnes)
{
    Greeter greeter;
    Variant name(QStringLiteral("ann"));
    std::vector<Variant> args{Variant::byRef(name)};
    const Variant result = greeter.invoke(2, MemberKind::Method, args);

    EXPECT_EQ(result.type(), VarType::Boolean);
    EXPECT_TRUE(result.toBool());
    EXPECT_EQ(greeter.lastGreeting, QStringLiteral("Hello, ann!"));
    EXPECT_EQ(name.toString(), QStringLiteral("ANN"));
}

TEST(DispatchInvoke, ByNameIgnoresCaseAndConvertsArguments)
{
    Greeter greeter;
    std::vector<Variant> args{std::int32_t(42), Variant::missing()};
    greeter.invoke(QStringLiteral("greet"), MemberKind::Method, args);
    EXPECT_EQ(greeter.lastGreeting, QStringLiteral("Hello, 42!"));
    // A by-reference argument passed by value comes back in its slot.
    EXPECT_EQ(args[0].toString(), QStringLiteral("42"));
    EXPECT_TRUE(args[1].isMissing());

    greeter.putProperty(QStringLiteral("COUNT"), QStringLiteral("12.5"));
    EXPECT_EQ(greeter.count, 12);
    EXPECT_EQ(greeter.getProperty(QStringLiteral("Count")).toInteger(), 12);
    EXPECT_EQ(greeter.idOfName(QStringLiteral("count")), 1);
}

TEST(DispatchInvoke, FailuresCarryTheirNumbers)
{
    Greeter greeter;
    std::vector<Variant> none;
    EXPECT_EQ(errorNumberOf([&] { greeter.invoke(99, MemberKind::Method, none); }), ErrorNumber::NotSupported);
    EXPECT_EQ(errorNumberOf([&] { greeter.idOfName(QStringLiteral("Nope")); }), ErrorNumber::NotSupported);
    EXPECT_EQ(errorNumberOf([&] { greeter.invoke(2, MemberKind::PropertyGet, none); }), ErrorNumber::NotSupported);
    EXPECT_EQ(errorNumberOf([&] { greeter.invoke(2, MemberKind::Method, none); }), ErrorNumber::ArgumentNotOptional);

    std::vector<Variant> tooMany{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(errorNumberOf([&] { greeter.invoke(2, MemberKind::Method, tooMany); }),
              ErrorNumber::WrongNumberOfArguments);
    EXPECT_EQ(errorNumberOf([&] { greeter.putProperty(QStringLiteral("Count"), QStringLiteral("x")); }),
              ErrorNumber::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { greeter.putProperty(QStringLiteral("Count"), 40000); }), ErrorNumber::Overflow);
    EXPECT_EQ(greeter.count, 3);
    // A property that takes only a font refuses other objects.
    EXPECT_EQ(errorNumberOf([&] { greeter.putPropertyById(kDispIdFont, ObjectRef(std::make_shared<Greeter>())); }),
              ErrorNumber::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { greeter.putPropertyById(kDispIdFont, StdFont::create("Tahoma", 8)); }), 0);
}

TEST(DispatchTypeName, EveryObjectAnswersItsTypeName)
{
    Greeter greeter;
    EXPECT_EQ(greeter.typeName(), QStringLiteral("Greeter"));
    EXPECT_EQ(StdFont().typeName(), QStringLiteral("StdFont"));
}

} // namespace

namespace {

struct ColorCase {
    const char* label;
    Variant value;
    std::optional<std::uint32_t> color; // nothing: overflow
};

void PrintTo(const ColorCase& c, std::ostream* out) { *out << c.label; }

class ColorConversion : public ::testing::TestWithParam<ColorCase> {};

// Colours are Longs; only the unsigned form of a system colour is taken
// from a number beyond the Long range.
TEST_P(ColorConversion, TakesLongsAndSystemColoursOnly)
{
    const ColorCase& c = GetParam();
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("ForeColor"), c.value);
    const Variant stored = PropertyBag::fromBytes(bag.toBytes()).readProperty(QStringLiteral("ForeColor"));
    if (c.color) {
        EXPECT_EQ(variantToColor(stored), *c.color);
    } else {
        EXPECT_EQ(errorNumberOf([&] { variantToColor(stored); }), ErrorNumber::Overflow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ColorConversion,
    ::testing::Values(ColorCase{"Long red", Variant(std::int32_t(0xFF)), 0xFFu},
                      ColorCase{"Long system colour", Variant(std::int32_t(-2147483633)), 0x8000000Fu},
                      ColorCase{"Long -1", Variant(std::int32_t(-1)), 0xFFFFFFFFu},
                      ColorCase{"Double system colour", Variant(2147483663.0), 0x8000000Fu},
                      ColorCase{"Text system colour", Variant(QStringLiteral("2147483666")), 0x80000012u},
                      ColorCase{"Double 0xFFFFFFFF", Variant(4294967295.0), std::nullopt},
                      ColorCase{"Double 0xC0000000", Variant(3221225472.0), std::nullopt},
                      ColorCase{"Double past 32 bits", Variant(4294967296.0), std::nullopt},
                      ColorCase{"Single 0xFFFFFFFF", Variant(4294967295.0f), std::nullopt},
                      ColorCase{"Text 0xFFFFFFFF", Variant(QStringLiteral("4294967295")), std::nullopt},
                      ColorCase{"Double below Long", Variant(-2147483649.0), std::nullopt}));

} // namespace
