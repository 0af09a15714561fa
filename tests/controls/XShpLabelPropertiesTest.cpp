// Properties, persistence and late binding of the shaped label.
#include "ShapedLabelFixture.h"

#include "tarvo/TypeLibrary.h"

#include "automation/PropertyBag.h"

using namespace tarvo;
using namespace tarvo::testing;
using automation::ErrorNumber::Overflow;
using automation::ErrorNumber::TypeMismatch;
using automation::MemberKind;
using automation::PropertyBag;
using automation::StdFont;
using automation::Variant;

namespace {

constexpr std::uint32_t kActiveCaptionText = 0x80000009;
constexpr std::uint32_t kActiveCaption = 0x80000002;
constexpr std::uint32_t kInactiveCaption = 0x80000003;
constexpr std::uint32_t kInactiveCaptionText = 0x80000013;

// Every property but the fonts, as the QObject side reports them.
const char* const kPlainProperties[] = {
    "ForeColor", "Enabled", "BorderStyle", "BorderColor", "BorderWidth", "Caption", "FillColor", "FillStyle",
    "DisabledBorderColor", "DisabledBorderStyle", "DisabledBorderWidth", "DisabledFillColor", "DisabledFillStyle",
    "DisabledForeColor"};

void expectNewInstanceValues(const XShpLabel& label)
{
    EXPECT_EQ(label.ForeColor(), kActiveCaptionText);
    EXPECT_TRUE(label.Enabled());
    EXPECT_EQ(label.BorderStyle(), 0);
    EXPECT_EQ(label.BorderColor(), 0u);
    EXPECT_EQ(label.BorderWidth(), 1);
    EXPECT_EQ(label.Caption(), QStringLiteral("Label1"));
    EXPECT_EQ(label.FillColor(), kActiveCaption);
    EXPECT_EQ(label.FillStyle(), 0);
    EXPECT_EQ(label.DisabledBorderColor(), 0u);
    EXPECT_EQ(label.DisabledBorderStyle(), 0);
    EXPECT_EQ(label.DisabledBorderWidth(), 1);
    EXPECT_EQ(label.DisabledFillColor(), kInactiveCaption);
    EXPECT_EQ(label.DisabledFillStyle(), 0);
    EXPECT_EQ(label.DisabledForeColor(), kInactiveCaptionText);
}

// Stored data passes through its byte form, as a host's file holds it.
PropertyBag stored(const PropertyBag& bag) { return PropertyBag::fromBytes(bag.toBytes()); }

} // namespace

TEST_F(ShapedLabelTest, NewInstanceHasTheDefaultsAndTheAmbientFontObjectInBothFonts)
{
    XShpLabel* label = newLabel();
    expectNewInstanceValues(*label);
    EXPECT_EQ(label->Font(), host.font);
    EXPECT_EQ(label->DisabledFont(), host.font);
    EXPECT_TRUE(notifications.isEmpty());
}

// ---- Style writes ----

using StyleWrite = std::function<void(XShpLabel&, std::int32_t)>;

struct StyleWriteCase {
    const char* name;
    StyleWrite write;
};
void PrintTo(const StyleWriteCase& c, std::ostream* out) { *out << c.name; }

class StyleWriteTest : public ShapedLabelTest, public ::testing::WithParamInterface<StyleWriteCase> {};

TEST_P(StyleWriteTest, OutsideSixteenBitsFailsWithOverflowAndChangesNothing)
{
    XShpLabel* label = newLabel();
    label->setBorderStyle(2);
    notifications.clear();
    for (const std::int32_t value : {40000, 32768, -32769}) {
        EXPECT_EQ(errorNumberOf([&] { GetParam().write(*label, value); }), Overflow) << value;
        EXPECT_EQ(label->BorderStyle(), 2);
    }
    EXPECT_TRUE(notifications.isEmpty());
}

TEST_P(StyleWriteTest, AnySixteenBitValueIsStoredAndReadBackWidened)
{
    XShpLabel* label = newLabel();
    for (const std::int32_t value : {9, -1, 32767, -32768}) {
        GetParam().write(*label, value);
        EXPECT_EQ(label->BorderStyle(), value);
        const Variant read = label->getProperty(QStringLiteral("BorderStyle"));
        EXPECT_EQ(read.type(), automation::VarType::Long);
        EXPECT_EQ(read.toLong(), value);
    }
    EXPECT_EQ(notifications, QStringList(4, QStringLiteral("BorderStyle")));
}

INSTANTIATE_TEST_SUITE_P(
    ThroughEachInterface, StyleWriteTest,
    ::testing::Values(
        StyleWriteCase{"Accessor", [](XShpLabel& label, std::int32_t value) { label.setBorderStyle(value); }},
        StyleWriteCase{"DispatchId",
                       [](XShpLabel& label, std::int32_t value) {
                           label.putPropertyById(XShpLabelDispId::BorderStyle, value);
                       }},
        StyleWriteCase{"QObjectProperty",
                       [](XShpLabel& label, std::int32_t value) { label.setProperty("BorderStyle", value); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Late binding ----

TEST_F(ShapedLabelTest, EnabledWrittenByDispatchIdAsTheMainWindowDoes)
{
    XShpLabel* label = newLabel();
    label->putPropertyById(0x6803000D, Variant(false));
    EXPECT_FALSE(label->Enabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_EQ(notifications, QStringList{QStringLiteral("Enabled")});

    std::vector<Variant> args{Variant(true)};
    label->invoke(QStringLiteral("enabled"), MemberKind::PropertyPut, args);
    const Variant read = label->getProperty(QStringLiteral("Enabled"));
    EXPECT_EQ(read.type(), automation::VarType::Boolean);
    EXPECT_EQ(read.toInteger(), -1);
    EXPECT_TRUE(label->isEnabled());
}

struct LateBoundCase {
    const char* property;
    Variant value;
};
void PrintTo(const LateBoundCase& c, std::ostream* out) { *out << c.property; }

class LateBindingTest : public ShapedLabelTest, public ::testing::WithParamInterface<LateBoundCase> {};

// A write by name lands in the property of that name, whichever way it is read.
TEST_P(LateBindingTest, WriteByNameReadsBackByIdAndAsQObjectProperty)
{
    XShpLabel* label = newLabel();
    const QString name = QString::fromLatin1(GetParam().property);
    label->putProperty(name, GetParam().value);

    std::vector<Variant> none;
    const Variant byId = label->invoke(label->idOfName(name), MemberKind::PropertyGet, none);
    EXPECT_TRUE(byId.sameAs(GetParam().value)) << byId.typeName().toStdString();
    EXPECT_EQ(label->property(GetParam().property).toLongLong(), GetParam().value.toDouble());
    EXPECT_EQ(notifications, QStringList{name});
}

INSTANTIATE_TEST_SUITE_P(
    EveryNumericProperty, LateBindingTest,
    ::testing::Values(LateBoundCase{"ForeColor", std::int32_t{0x00102030}},
                      LateBoundCase{"BorderStyle", std::int32_t{3}},
                      LateBoundCase{"BorderColor", std::int32_t{0x00405060}},
                      LateBoundCase{"BorderWidth", std::int16_t{4}},
                      LateBoundCase{"FillColor", std::int32_t{0x00708090}},
                      LateBoundCase{"FillStyle", std::int32_t{5}},
                      LateBoundCase{"DisabledBorderColor", std::int32_t{0x00A0B0C0}},
                      LateBoundCase{"DisabledBorderStyle", std::int32_t{6}},
                      LateBoundCase{"DisabledBorderWidth", std::int16_t{7}},
                      LateBoundCase{"DisabledFillColor", std::int32_t{0x00D0E0F0}},
                      LateBoundCase{"DisabledFillStyle", std::int32_t{2}},
                      LateBoundCase{"DisabledForeColor", std::int32_t{0x00010203}}),
    [](const auto& info) { return std::string(info.param.property); });

TEST_F(ShapedLabelTest, FontsAndCaptionLateBound)
{
    XShpLabel* label = newLabel();
    const auto font = StdFont::create(QStringLiteral("DejaVu Serif"), 12);
    label->putProperty(QStringLiteral("DisabledFont"), font);
    label->putPropertyById(XShpLabelDispId::Caption, QStringLiteral("R&D"));

    EXPECT_EQ(label->DisabledFont(), font);
    EXPECT_EQ(label->getProperty(QStringLiteral("DisabledFont")).toObject(), font);
    EXPECT_EQ(label->getProperty(QStringLiteral("Caption")).toString(), QStringLiteral("R&D"));
    // A font is assigned by reference only, and only a font.
    EXPECT_EQ(errorNumberOf([&] { label->putProperty(QStringLiteral("Font"), QStringLiteral("Tahoma")); }),
              automation::ErrorNumber::NotSupported);
    std::vector<Variant> text{Variant(QStringLiteral("Tahoma"))};
    EXPECT_EQ(errorNumberOf([&] { label->invoke(XShpLabelDispId::Font, MemberKind::PropertyPutRef, text); }),
              TypeMismatch);
    EXPECT_EQ(label->Font(), host.font);
    EXPECT_EQ(notifications, (QStringList{QStringLiteral("DisabledFont"), QStringLiteral("Caption")}));
}

// ---- Stored data ----

TEST_F(ShapedLabelTest, StepIndicatorStoredDataLoadsWithEveryOtherPropertyAtItsDefault)
{
    // As the main window stores its disabled indicators: lower-case keys,
    // only what differs from the defaults.
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("_extentx"), std::int32_t{445});
    bag.writeProperty(QStringLiteral("_extenty"), std::int32_t{868});
    bag.writeProperty(QStringLiteral("enabled"), false);
    bag.writeProperty(QStringLiteral("font"), StdFont::create(QStringLiteral("Tahoma"), 8.4));
    bag.writeProperty(QStringLiteral("caption"), QStringLiteral("2"));
    bag.writeProperty(QStringLiteral("disabledfont"), StdFont::create(QStringLiteral("Tahoma"), 8.4));

    auto* label = new XShpLabel(&host);
    label->load(stored(bag));

    EXPECT_FALSE(label->Enabled());
    EXPECT_EQ(label->Caption(), QStringLiteral("2"));
    for (const automation::FontRef& font : {label->Font(), label->DisabledFont()}) {
        ASSERT_TRUE(font);
        EXPECT_EQ(font->name(), QStringLiteral("Tahoma"));
        EXPECT_EQ(font->sizeTenThousandths(), 84000);
    }
    label->setEnabled(true);
    label->setCaption(QStringLiteral("Label1"));
    expectNewInstanceValues(*label);
}

TEST_F(ShapedLabelTest, BorderWidthBeyondSixteenBitsFailsTheLoadAndLeavesLaterMembersEmpty)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("BorderColor"), std::int32_t{0x000000FF});
    bag.writeProperty(QStringLiteral("BorderWidth"), std::int32_t{40000});

    auto* label = new XShpLabel(&host);
    EXPECT_EQ(errorNumberOf([&] { label->load(stored(bag)); }), Overflow);

    // Read before the failure: their stored or default values.
    EXPECT_EQ(label->ForeColor(), kActiveCaptionText);
    EXPECT_EQ(label->Font(), host.font);
    EXPECT_EQ(label->BorderColor(), 0x000000FFu);
    // From the failing key on: empty.
    EXPECT_EQ(label->BorderWidth(), 0);
    EXPECT_EQ(label->FillColor(), 0u);
    EXPECT_EQ(label->DisabledBorderWidth(), 0);
    EXPECT_EQ(label->DisabledFillColor(), 0u);
    EXPECT_EQ(label->DisabledFont(), nullptr);
    EXPECT_EQ(label->DisabledForeColor(), 0u);
    EXPECT_EQ(label->Caption(), QStringLiteral("Label1"));
}

TEST_F(ShapedLabelTest, NonFontUnderAFontKeyIsATypeMismatch)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("DisabledFont"), QStringLiteral("Tahoma"));
    auto* label = new XShpLabel(&host);
    EXPECT_EQ(errorNumberOf([&] { label->load(stored(bag)); }), TypeMismatch);
    EXPECT_EQ(label->DisabledForeColor(), 0u);
}

TEST_F(ShapedLabelTest, UnchangedNewInstanceStoresNothingAndReadsBackTheSame)
{
    PropertyBag bag;
    newLabel()->save(bag);
    EXPECT_TRUE(bag.isEmpty()) << bag.names().join(u',').toStdString();

    auto* copy = new XShpLabel(&host);
    copy->load(stored(bag));
    expectNewInstanceValues(*copy);
    EXPECT_EQ(copy->Font(), host.font);
    EXPECT_EQ(copy->DisabledFont(), host.font);
}

TEST_F(ShapedLabelTest, ChangedPropertiesRoundTripThroughStoredData)
{
    XShpLabel* label = newLabel();
    label->setForeColor(0x00112233);
    label->setEnabledProperty(false);
    label->setFontRef(StdFont::create(QStringLiteral("DejaVu Serif"), 11, true));
    label->setBorderStyle(-1);
    label->setBorderColor(0x80000005);
    label->setBorderWidth(3);
    label->setCaption(QStringLiteral("R&D"));
    label->setFillColor(0x00445566);
    label->setFillStyle(7);
    label->setDisabledBorderColor(0x00778899);
    label->setDisabledBorderStyle(6);
    label->setDisabledBorderWidth(-5);
    label->setDisabledFillColor(0x80000018);
    label->setDisabledFillStyle(1);
    label->setDisabledForeColor(0x00AABBCC);
    PropertyBag bag;
    label->save(bag);
    EXPECT_EQ(bag.names().size(), 15); // all but the unchanged DisabledFont

    auto* copy = new XShpLabel(&host);
    copy->load(stored(bag));
    for (const char* name : kPlainProperties)
        EXPECT_EQ(copy->property(name), label->property(name)) << name;
    ASSERT_TRUE(copy->Font());
    EXPECT_TRUE(copy->Font()->sameLook(*label->Font()));
    EXPECT_EQ(copy->DisabledFont(), host.font);
}
