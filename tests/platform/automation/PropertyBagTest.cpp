#include "support/ErrorNumber.h"
#include "automation/AutomationError.h"
#include "automation/PropertyBag.h"
#include "automation/StdFont.h"
#include "automation/StdPicture.h"

#include <QPixmap>

#include <gtest/gtest.h>

using namespace automation;

namespace {

TEST(PropertyBagRules, AbsentKeysGiveTheDefaultAndDefaultsAreNotStored)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("BorderWidth"), std::int16_t(1), std::int16_t(1));
    bag.writeProperty(QStringLiteral("Caption"), QStringLiteral("2"), QStringLiteral("Label1"));
    EXPECT_FALSE(bag.contains(QStringLiteral("BorderWidth")));
    EXPECT_EQ(bag.readProperty(QStringLiteral("BorderWidth"), std::int16_t(1)).toInteger(), 1);
    EXPECT_EQ(bag.names(), QStringList{QStringLiteral("Caption")});

    // Writing the default later removes the stored value.
    bag.writeProperty(QStringLiteral("Caption"), QStringLiteral("Label1"), QStringLiteral("Label1"));
    EXPECT_TRUE(bag.isEmpty());
}

TEST(PropertyBagRules, KeysWrittenInLowerCaseReadWithoutRegardToCase)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("caption"), QStringLiteral("2"));
    bag.writeProperty(QStringLiteral("enabled"), false, true);
    EXPECT_EQ(bag.readProperty(QStringLiteral("Caption"), QStringLiteral("Label1")).toString(), QStringLiteral("2"));
    EXPECT_FALSE(bag.readProperty(QStringLiteral("ENABLED"), true).toBool());
    bag.writeProperty(QStringLiteral("CAPTION"), QStringLiteral("3"));
    EXPECT_EQ(bag.names(), (QStringList{QStringLiteral("caption"), QStringLiteral("enabled")}));
}

TEST(PropertyBagRules, ConvertingAStoredValueFailsWithItsNumber)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("BorderWidth"), std::int32_t(40000));
    bag.writeProperty(QStringLiteral("Font"), QStringLiteral("not a font"));
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty(QStringLiteral("BorderWidth"), std::int16_t(1)).toInteger(); }),
              ErrorNumber::Overflow);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty(QStringLiteral("Font")).toObject(); }), ErrorNumber::TypeMismatch);
}

TEST(PropertyBagBytes, EveryValueTypeSurvivesARoundTrip)
{
    auto font = StdFont::create(QStringLiteral("Verdana"), 10.8, true);
    font->setItalic(true);
    QPixmap pixmap(4, 3);
    pixmap.fill(Qt::red);

    PropertyBag bag;
    bag.setExtent(2138, 656);
    bag.writeProperty(QStringLiteral("Null"), Variant::null());
    bag.writeProperty(QStringLiteral("Integer"), std::int16_t(-32768));
    bag.writeProperty(QStringLiteral("Long"), std::int32_t(0x80000009u));
    bag.writeProperty(QStringLiteral("Single"), 1.5f);
    bag.writeProperty(QStringLiteral("Double"), -2.25);
    bag.writeProperty(QStringLiteral("Boolean"), true);
    bag.writeProperty(QStringLiteral("String"), QStringLiteral("Tövin & €"));
    bag.writeProperty(QStringLiteral("Error"), Variant::error(13));
    bag.writeProperty(QStringLiteral("Font"), font);
    bag.writeProperty(QStringLiteral("Picture"), StdPicture::fromBitmap(pixmap));
    bag.writeProperty(QStringLiteral("Nothing"), ObjectRef());

    const PropertyBag back = PropertyBag::fromBytes(bag.toBytes());
    EXPECT_EQ(back.names(), bag.names());
    EXPECT_EQ(back.readProperty(QStringLiteral("_extentx")).toLong(), 2138);
    EXPECT_TRUE(back.readProperty(QStringLiteral("Null")).isNull());
    EXPECT_EQ(back.readProperty(QStringLiteral("Integer")).type(), VarType::Integer);
    EXPECT_EQ(back.readProperty(QStringLiteral("Integer")).toInteger(), -32768);
    EXPECT_EQ(static_cast<std::uint32_t>(back.readProperty(QStringLiteral("Long")).toLong()), 0x80000009u);
    EXPECT_EQ(back.readProperty(QStringLiteral("Single")).type(), VarType::Single);
    EXPECT_EQ(back.readProperty(QStringLiteral("Double")).toDouble(), -2.25);
    EXPECT_EQ(back.readProperty(QStringLiteral("Boolean")).type(), VarType::Boolean);
    EXPECT_EQ(back.readProperty(QStringLiteral("String")).toString(), QStringLiteral("Tövin & €"));
    EXPECT_EQ(back.readProperty(QStringLiteral("Error")).errorCode(), 13);

    auto backFont = std::dynamic_pointer_cast<StdFont>(back.readProperty(QStringLiteral("Font")).toObject());
    ASSERT_TRUE(backFont);
    EXPECT_TRUE(backFont->sameLook(*font));

    auto picture = std::dynamic_pointer_cast<StdPicture>(back.readProperty(QStringLiteral("Picture")).toObject());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->type(), StdPicture::Bitmap);
    EXPECT_EQ(picture->pixmap().size(), QSize(4, 3));
    EXPECT_FALSE(back.readProperty(QStringLiteral("Nothing")).toObject());
}

TEST(PropertyBagBytes, AFontThatIsTheDefaultObjectIsNotStoredButAnEqualCopyIs)
{
    auto ambient = StdFont::create(QStringLiteral("Tahoma"), 8.4);
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("Font"), ambient, ambient);
    bag.writeProperty(QStringLiteral("DisabledFont"), ambient->clone(), ambient);
    EXPECT_EQ(bag.names(), QStringList{QStringLiteral("DisabledFont")});
}

TEST(PropertyBagBytes, ObjectsThatCannotPersistAreRefused)
{
    class Plain : public Dispatch {
        const TypeInfo& typeInfo() const override
        {
            static const TypeInfo info{QStringLiteral("Plain"), {}, {}, {}};
            return info;
        }
        Variant invokeMember(const MemberInfo&, std::vector<Variant>&) override { return {}; }
    };
    PropertyBag bag;
    EXPECT_EQ(errorNumberOf([&] { bag.writeProperty(QStringLiteral("X"), ObjectRef(std::make_shared<Plain>())); }),
              ErrorNumber::TypeMismatch);
    EXPECT_TRUE(bag.isEmpty());
}

} // namespace

namespace {

// The byte form of a bag of Integer entries with the given keys, written by
// hand so that duplicates can be made.
QByteArray bagBytes(const QStringList& keys)
{
    QByteArray bytes("VXPB\x01", 5);
    const auto put16 = [&bytes](quint16 v) { bytes.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto put32 = [&](quint32 v) { put16(quint16(v & 0xFFFF)); put16(quint16(v >> 16)); };
    put32(quint32(keys.size()));
    for (const QString& key : keys) {
        put16(quint16(key.size()));
        for (const QChar c : key)
            put16(c.unicode());
        bytes.append(char(automation::VarType::Integer));
        put16(7);
    }
    return bytes;
}

TEST(PropertyBagBytes, ThirtyTwoThousandKeysLoadAndADuplicateAmongThemIsRefused)
{
    QStringList keys;
    for (int i = 0; i < 32000; ++i)
        keys << QStringLiteral("Key%1").arg(i);
    const PropertyBag bag = PropertyBag::fromBytes(bagBytes(keys));
    EXPECT_EQ(bag.names().size(), 32000);
    EXPECT_EQ(bag.readProperty(QStringLiteral("key31999")).toInteger(), 7);

    keys << QStringLiteral("KEY0"); // the same key in other case, at the very end
    EXPECT_EQ(errorNumberOf([&] { PropertyBag::fromBytes(bagBytes(keys)); }), ErrorNumber::InvalidFileFormat);
}

// Duplicates are the keys that a look-up cannot tell apart, no more.
TEST(PropertyBagBytes, DuplicatesAreKeysEqualWithoutRegardToCase)
{
    const QString deseretCapital = QString::fromUcs4(U"\U00010400x");
    const QString deseretSmall = QString::fromUcs4(U"\U00010428X");
    EXPECT_EQ(errorNumberOf([&] { PropertyBag::fromBytes(bagBytes({deseretCapital, deseretSmall})); }),
              ErrorNumber::InvalidFileFormat);
    EXPECT_EQ(errorNumberOf([&] { PropertyBag::fromBytes(bagBytes({QStringLiteral("\u00c9t\u00e9"), QStringLiteral("\u00e9T\u00c9")})); }),
              ErrorNumber::InvalidFileFormat);

    const PropertyBag distinct = PropertyBag::fromBytes(
        bagBytes({QString::fromUtf8("Stra\u00dfe"), QStringLiteral("STRASSE"), QStringLiteral("a"), QStringLiteral("a ")}));
    EXPECT_EQ(distinct.names().size(), 4);
    EXPECT_TRUE(PropertyBag::fromBytes(bagBytes({deseretCapital})).contains(deseretSmall));
}

} // namespace
