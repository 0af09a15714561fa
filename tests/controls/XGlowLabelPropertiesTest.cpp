// Properties, late binding and stored data of the glowing label.
#include "GlowingLabelFixture.h"

#include "tarvo/TypeLibrary.h"

#include "automation/PropertyBag.h"

using namespace tarvo;
using namespace tarvo::testing;
using automation::MemberKind;
using automation::PropertyBag;
using automation::StdFont;
using automation::Variant;
using automation::ErrorNumber::InvalidPropertyValue;
using automation::ErrorNumber::Overflow;
using automation::ErrorNumber::TypeMismatch;

namespace {

// Every property in the order of the stored keys, each with a valid value
// that differs from its default.
struct Setting {
    const char* name;
    Variant value;
};

std::vector<Setting> changedSettings()
{
    return {
        {"BackColor", std::int32_t{0x00102030}},
        {"ForeColor", std::int32_t{0x00405060}},
        {"Enabled", false},
        {"Font", StdFont::create(QStringLiteral("DejaVu Serif"), 12, true)},
        {"BackStyle", std::int16_t{0}},
        {"BorderStyle", std::int16_t{1}},
        {"Alignment", std::int16_t{2}},
        {"Appearance", std::int16_t{0}},
        {"Caption", QStringLiteral("Stored")},
        {"Interval", std::int32_t{50}},
    };
}

// Values equal by type and value; fonts by their look, since stored data
// brings back a copy.
bool sameValue(const Variant& actual, const Variant& expected)
{
    if (expected.type() != automation::VarType::Object)
        return actual.sameAs(expected);
    const auto actualFont = std::dynamic_pointer_cast<StdFont>(actual.toObject());
    const auto expectedFont = std::dynamic_pointer_cast<StdFont>(expected.toObject());
    return actualFont && expectedFont && actualFont->sameLook(*expectedFont);
}

std::string describe(const Variant& value)
{
    if (value.type() == automation::VarType::Object)
        return "a font";
    return (value.typeName() + QStringLiteral(" ") + value.toString()).toStdString();
}

void expectDefaults(XGlowLabel& label, const TestHost& host)
{
    EXPECT_EQ(label.BackColor(), 0x8000000Fu);
    EXPECT_EQ(label.ForeColor(), 0x80000012u);
    EXPECT_TRUE(label.Enabled());
    EXPECT_EQ(label.Font(), host.font);
    EXPECT_EQ(label.BackStyle(), 1);
    EXPECT_EQ(label.BorderStyle(), 0);
    EXPECT_EQ(label.Alignment(), 0);
    EXPECT_EQ(label.Appearance(), 1);
    EXPECT_EQ(label.Caption(), QStringLiteral("Label1"));
    EXPECT_EQ(label.Interval(), 0);
    EXPECT_FALSE(label.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

// Stored data passes through its byte form, as a host's file holds it.
PropertyBag stored(const PropertyBag& bag) { return PropertyBag::fromBytes(bag.toBytes()); }

} // namespace

// ---- The interface ----

TEST(GlowingLabelTypeInfo, MembersInInterfaceOrderWithTheirIdsAndWriteArguments)
{
    struct Expected {
        const char* name;
        std::int32_t id;
        MemberKind write;
    };
    const Expected expected[] = {
        {"BackColor", 0x68030008, MemberKind::PropertyPut},   {"ForeColor", 0x68030007, MemberKind::PropertyPut},
        {"Enabled", 0x68030006, MemberKind::PropertyPut},     {"Font", -512, MemberKind::PropertyPutRef},
        {"BackStyle", 0x68030005, MemberKind::PropertyPut},   {"BorderStyle", 0x68030004, MemberKind::PropertyPut},
        {"Refresh", 0x6003000B, MemberKind::Method},          {"Alignment", 0x68030003, MemberKind::PropertyPut},
        {"Appearance", 0x68030002, MemberKind::PropertyPut}, {"Caption", 0x68030001, MemberKind::PropertyPut},
        {"Interval", 0x68030000, MemberKind::PropertyPut},
    };
    const automation::TypeInfo& info = XGlowLabel::classTypeInfo();
    EXPECT_EQ(info.interfaceName, QStringLiteral("_XGlowLabel"));
    EXPECT_EQ(info.interfaceId, QUuid(QStringLiteral("{58AE1F7E-29A3-11D4-B0AB-006208C10000}")));

    std::size_t index = 0;
    for (const Expected& member : expected) {
        const QString name = QString::fromLatin1(member.name);
        if (member.write != MemberKind::Method) {
            ASSERT_LT(index, info.members.size());
            const automation::MemberInfo& get = info.members[index++];
            EXPECT_EQ(get.name, name);
            EXPECT_EQ(get.id, member.id) << member.name;
            EXPECT_EQ(get.kind, MemberKind::PropertyGet) << member.name;
        }
        ASSERT_LT(index, info.members.size());
        const automation::MemberInfo& write = info.members[index++];
        EXPECT_EQ(write.name, name);
        EXPECT_EQ(write.id, member.id) << member.name;
        EXPECT_EQ(write.kind, member.write) << member.name;
        EXPECT_FALSE(write.description.isEmpty()) << member.name;
        if (member.write != MemberKind::Method) {
            ASSERT_EQ(write.params.size(), 1u);
            EXPECT_EQ(write.params[0].name, QStringLiteral("New_") + name);
        }
    }
    EXPECT_EQ(index, info.members.size());
    EXPECT_EQ(info.find(-512, MemberKind::PropertyPut), nullptr); // Font: by reference only
}

TEST(GlowingLabelTypeInfo, EventsPassTheirArgumentsByReference)
{
    const automation::TypeInfo& events = XGlowLabel::eventTypeInfo();
    EXPECT_EQ(events.interfaceName, QStringLiteral("__XGlowLabel"));
    EXPECT_EQ(events.interfaceId, QUuid(QStringLiteral("{58AE1F80-29A3-11D4-B0AB-006208C10000}")));
    const QStringList names{QStringLiteral("Click"), QStringLiteral("DblClick"), QStringLiteral("MouseDown"),
                            QStringLiteral("MouseMove"), QStringLiteral("MouseUp")};
    ASSERT_EQ(events.members.size(), 5u);
    for (std::size_t i = 0; i < events.members.size(); ++i) {
        EXPECT_EQ(events.members[i].name, names[static_cast<qsizetype>(i)]);
        EXPECT_EQ(events.members[i].id, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(events.members[i].params.size(), i < 2 ? 0u : 4u);
        for (const automation::ParamInfo& param : events.members[i].params)
            EXPECT_TRUE(param.byRef);
    }
}

// ---- Writes ----

TEST_F(GlowingLabelTest, EveryPropertyWrittenByNameReadsBackAndNotifiesItsName)
{
    XGlowLabel* label = newLabel();
    for (const Setting& setting : changedSettings()) {
        const QString name = QString::fromLatin1(setting.name);
        notifications.clear();
        label->putProperty(name, setting.value);
        const Variant read = label->getProperty(name);
        EXPECT_TRUE(sameValue(read, setting.value)) << setting.name << ": " << describe(read);
        EXPECT_EQ(notifications, QStringList{name});
    }
    EXPECT_TRUE(label->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

TEST_F(GlowingLabelTest, IntervalWrittenByDispatchIdAsTheMainWindowDoes)
{
    XGlowLabel* label = newLabel();
    std::vector<Variant> args{Variant(std::int32_t{50})};
    label->invoke(0x68030000, MemberKind::PropertyPut, args);
    EXPECT_EQ(label->Interval(), 50);
    EXPECT_EQ(timerOf(label)->interval(), 50);
    EXPECT_TRUE(timerOf(label)->isActive());
    EXPECT_EQ(notifications, QStringList{QStringLiteral("Interval")});
    const Variant read = label->getProperty(QStringLiteral("interval"));
    EXPECT_TRUE(read.sameAs(Variant(std::int32_t{50})));
}

TEST_F(GlowingLabelTest, QObjectPropertiesReachTheSameValues)
{
    XGlowLabel* label = newLabel();
    EXPECT_TRUE(label->setProperty("Alignment", 2));
    EXPECT_TRUE(label->setProperty("BackColor", 0x00ABCDEFu));
    EXPECT_EQ(label->Alignment(), 2);
    EXPECT_EQ(label->property("BackColor").toUInt(), 0x00ABCDEFu);
    EXPECT_EQ(errorNumberOf([&] { label->setProperty("Alignment", 3); }), InvalidPropertyValue);
    EXPECT_EQ(label->property("Alignment").toInt(), 2);
}

struct RejectedWrite {
    const char* property;
    Variant value;
    int error;
};
void PrintTo(const RejectedWrite& c, std::ostream* out) { *out << c.property << " " << describe(c.value); }

class RejectedWriteTest : public GlowingLabelTest, public ::testing::WithParamInterface<RejectedWrite> {};

TEST_P(RejectedWriteTest, KeepsTheOldValueNotifiesNothingAndTheNextSaveWritesTheOldValue)
{
    XGlowLabel* label = newLabel();
    const QString name = QString::fromLatin1(GetParam().property);
    Variant old;
    for (const Setting& setting : changedSettings()) {
        if (name == QString::fromLatin1(setting.name))
            old = setting.value;
    }
    label->putProperty(name, old);
    notifications.clear();

    EXPECT_EQ(errorNumberOf([&] { label->putProperty(name, GetParam().value); }), GetParam().error);
    EXPECT_TRUE(sameValue(label->getProperty(name), old));
    EXPECT_TRUE(notifications.isEmpty());

    PropertyBag bag;
    label->save(bag);
    EXPECT_TRUE(sameValue(bag.readProperty(name), old)) << describe(bag.readProperty(name));
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRangeOrOfTheWrongKind, RejectedWriteTest,
    ::testing::Values(RejectedWrite{"BackStyle", std::int16_t{2}, InvalidPropertyValue},
                      RejectedWrite{"BackStyle", std::int16_t{-1}, InvalidPropertyValue},
                      RejectedWrite{"BackStyle", std::int32_t{70000}, Overflow},
                      RejectedWrite{"BorderStyle", std::int16_t{2}, InvalidPropertyValue},
                      RejectedWrite{"Alignment", std::int16_t{3}, InvalidPropertyValue},
                      RejectedWrite{"Appearance", std::int16_t{2}, InvalidPropertyValue},
                      RejectedWrite{"Interval", std::int32_t{65536}, InvalidPropertyValue},
                      RejectedWrite{"Interval", std::int32_t{-1}, InvalidPropertyValue},
                      RejectedWrite{"BackColor", std::int32_t{0x12345678}, InvalidPropertyValue},
                      RejectedWrite{"ForeColor", static_cast<std::int32_t>(0x800000FFu), InvalidPropertyValue},
                      RejectedWrite{"Enabled", "perhaps", TypeMismatch},
                      RejectedWrite{"Font", automation::ObjectRef{}, InvalidPropertyValue},
                      RejectedWrite{"Font", "Tahoma", automation::ErrorNumber::NotSupported}),
    [](const auto& info) { return std::string(info.param.property) + std::to_string(info.index); });

// ---- Stored data ----

TEST_F(GlowingLabelTest, UnchangedNewInstanceHasTheDefaultsAndStoresNothing)
{
    XGlowLabel* label = newLabel();
    expectDefaults(*label, host);
    PropertyBag bag;
    label->save(bag);
    EXPECT_TRUE(bag.isEmpty()) << bag.names().join(u',').toStdString();
    EXPECT_TRUE(notifications.isEmpty());
}

TEST_F(GlowingLabelTest, EmptyStoredDataGivesEveryDefaultWithoutNotifications)
{
    XGlowLabel* label = newLabel();
    for (const Setting& setting : changedSettings())
        label->putProperty(QString::fromLatin1(setting.name), setting.value);
    notifications.clear();

    label->load(stored(PropertyBag()));
    expectDefaults(*label, host);
    EXPECT_TRUE(notifications.isEmpty());
}

TEST_F(GlowingLabelTest, MainWindowStoredDataInLowerCaseGivesItsFontAndCaption)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("_extentx"), std::int32_t{2138});
    bag.writeProperty(QStringLiteral("_extenty"), std::int32_t{656});
    bag.writeProperty(QStringLiteral("font"), StdFont::create(QStringLiteral("Verdana"), 10.8, true));
    bag.writeProperty(QStringLiteral("caption"), QStringLiteral("Tovin"));

    auto* label = new XGlowLabel(&host);
    QObject::connect(label, &ui::UserControl::propertyChanged, [this](const QString& name) { notifications << name; });
    label->load(stored(bag));

    const automation::FontRef font = label->Font();
    ASSERT_TRUE(font);
    EXPECT_EQ(font->name(), QStringLiteral("Verdana"));
    EXPECT_EQ(font->sizeTenThousandths(), 108000);
    EXPECT_TRUE(font->bold());
    EXPECT_EQ(label->Caption(), QStringLiteral("Tovin"));
    label->setFontRef(host.font);
    label->setCaption(QStringLiteral("Label1"));
    expectDefaults(*label, host);
}

TEST_F(GlowingLabelTest, ChangedPropertiesRoundTripThroughStoredData)
{
    XGlowLabel* label = newLabel();
    for (const Setting& setting : changedSettings())
        label->putProperty(QString::fromLatin1(setting.name), setting.value);
    PropertyBag bag;
    label->save(bag);
    EXPECT_EQ(bag.names().size(), 10);
    // Interval goes into the stored data as a Long.
    EXPECT_EQ(bag.readProperty(QStringLiteral("Interval")).type(), automation::VarType::Long);

    auto* copy = new XGlowLabel(&host);
    copy->load(stored(bag));
    for (const Setting& setting : changedSettings()) {
        const Variant read = copy->getProperty(QString::fromLatin1(setting.name));
        EXPECT_TRUE(sameValue(read, setting.value)) << setting.name << ": " << describe(read);
    }
    EXPECT_TRUE(timerOf(copy)->isActive());
}

struct BadStoredValue {
    const char* key;
    Variant value;
    int error;
};
void PrintTo(const BadStoredValue& c, std::ostream* out) { *out << c.key << " " << describe(c.value); }

class BadStoredValueTest : public GlowingLabelTest, public ::testing::WithParamInterface<BadStoredValue> {};

// Stored data with every key changed but one bad value: the keys before it
// are applied, the bad one and those after it keep a new instance's values.
TEST_P(BadStoredValueTest, StopsTheLoadAtThatKeyWithItsError)
{
    const QString badKey = QString::fromLatin1(GetParam().key);
    PropertyBag bag;
    for (const Setting& setting : changedSettings()) {
        const QString key = QString::fromLatin1(setting.name);
        bag.writeProperty(key, key == badKey ? GetParam().value : setting.value);
    }
    XGlowLabel* label = newLabel();
    std::vector<Variant> fresh;
    for (const Setting& setting : changedSettings())
        fresh.push_back(label->getProperty(QString::fromLatin1(setting.name)));

    EXPECT_EQ(errorNumberOf([&] { label->load(stored(bag)); }), GetParam().error);

    bool reached = false;
    const std::vector<Setting> settings = changedSettings();
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const QString key = QString::fromLatin1(settings[i].name);
        reached = reached || key == badKey;
        const Variant read = label->getProperty(key);
        EXPECT_TRUE(sameValue(read, reached ? fresh[i] : settings[i].value)) << settings[i].name << ": " << describe(read);
    }
    EXPECT_TRUE(notifications.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EachKindOfFailure, BadStoredValueTest,
    ::testing::Values(BadStoredValue{"BackColor", std::int32_t{0x12345678}, InvalidPropertyValue},
                      BadStoredValue{"Enabled", "perhaps", TypeMismatch},
                      BadStoredValue{"Font", automation::ObjectRef{}, InvalidPropertyValue},
                      BadStoredValue{"Font", "Verdana", TypeMismatch},
                      BadStoredValue{"BackStyle", std::int16_t{7}, InvalidPropertyValue},
                      BadStoredValue{"BorderStyle", std::int32_t{40000}, Overflow},
                      BadStoredValue{"Alignment", std::int16_t{3}, InvalidPropertyValue},
                      BadStoredValue{"Appearance", std::int16_t{-1}, InvalidPropertyValue},
                      BadStoredValue{"Interval", std::int32_t{70000}, InvalidPropertyValue}),
    [](const auto& info) { return std::string(info.param.key) + std::to_string(info.index); });
