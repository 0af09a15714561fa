#include "support/ErrorNumber.h"
#include "automation/AutomationError.h"
#include "automation/StdFont.h"
#include "automation/Variant.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace automation;

namespace {

TEST(VariantBoolean, TrueIsMinusOneAsANumber)
{
    EXPECT_EQ(Variant(true).toInteger(), -1);
    EXPECT_EQ(Variant(true).toLong(), -1);
    EXPECT_EQ(Variant(false).toInteger(), 0);
    EXPECT_EQ(Variant(true).toString(), QStringLiteral("True"));
    EXPECT_TRUE(Variant(std::int16_t(5)).toBool());
    EXPECT_FALSE(Variant(0.0).toBool());
    EXPECT_EQ(toAutomationBool(true), -1);
}

TEST(VariantConversion, TextToWholeNumbersRoundsHalfToEven)
{
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(Variant(QStringLiteral("12.5")).toInteger(), 12);
    EXPECT_EQ(Variant(QStringLiteral(" 13.5 ")).toInteger(), 14);
    EXPECT_EQ(errorNumberOf([] { Variant(QStringLiteral("32768")).toInteger(); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorNumberOf([] { Variant(QStringLiteral("abc")).toInteger(); }), ErrorNumber::TypeMismatch);
    EXPECT_EQ(errorNumberOf([] { Variant(std::int32_t(40000)).toInteger(); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorNumberOf([] { Variant::null().toString(); }), ErrorNumber::InvalidUseOfNull);
    EXPECT_EQ(Variant().toString(), QStringLiteral(""));
    EXPECT_EQ(Variant().toLong(), 0);
}

TEST(VariantConversion, ObjectsGiveTheirDefaultValue)
{
    Variant font(StdFont::create(QStringLiteral("Tahoma"), 8.4));
    EXPECT_EQ(font.toString(), QStringLiteral("Tahoma"));
    EXPECT_EQ(font.typeName(), QStringLiteral("StdFont"));
    EXPECT_EQ(errorNumberOf([] { Variant(ObjectRef()).toString(); }), ErrorNumber::ObjectNotSet);
    EXPECT_EQ(errorNumberOf([] { Variant(std::int16_t(1)).toObject(); }), ErrorNumber::TypeMismatch);
}

TEST(VariantReference, ReadsAndWritesThroughTheTarget)
{
    Variant target(QStringLiteral("before"));
    Variant ref = Variant::byRef(target);
    EXPECT_TRUE(ref.isByRef());
    EXPECT_EQ(ref.type(), VarType::String);
    EXPECT_EQ(ref.toString(), QStringLiteral("before"));

    ref.assign(std::int16_t(7));
    EXPECT_EQ(target.type(), VarType::Integer);
    EXPECT_EQ(target.toInteger(), 7);

    Variant copy = ref.value();
    EXPECT_FALSE(copy.isByRef());
    copy.assign(QStringLiteral("copy"));
    EXPECT_EQ(target.toInteger(), 7);
}

TEST(VariantIdentity, SameAsComparesTypeValueAndObjectIdentity)
{
    EXPECT_TRUE(Variant(std::int16_t(1)).sameAs(Variant(std::int16_t(1))));
    EXPECT_FALSE(Variant(std::int16_t(1)).sameAs(Variant(std::int32_t(1))));
    auto font = StdFont::create(QStringLiteral("Tahoma"), 8.4);
    EXPECT_TRUE(Variant(font).sameAs(Variant(font)));
    EXPECT_FALSE(Variant(font).sameAs(Variant(font->clone())));
    EXPECT_TRUE(Variant::missing().isMissing());
    EXPECT_FALSE(Variant::error(5).isMissing());
}

} // namespace
