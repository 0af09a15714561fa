#include "automation/AutomationError.h"
#include "automation/StdFont.h"

#include <gtest/gtest.h>

using namespace automation;

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

TEST(StdFontPersisted, KnownFontGivesKnownBytes)
{
    StdFont tahoma(QStringLiteral("Tahoma"), 8.4);
    const QByteArray expected = hex("0352E30B918FCE119DE300AA004BB851" // class id
                                    "01"                               // version
                                    "0000"                             // character set
                                    "00"                               // style flags
                                    "9001"                             // weight 400
                                    "20480100"                         // 84000 ten-thousandths
                                    "06"
                                    "5461686F6D61"); // "Tahoma"
    EXPECT_EQ(tahoma.persist().toHex(), expected.toHex());
}

TEST(StdFontPersisted, StylesAndWeightRoundTrip)
{
    StdFont verdana(QStringLiteral("Verdana"), 10.8, true);
    verdana.setItalic(true);
    verdana.setUnderline(true);
    verdana.setStrikethrough(true);
    verdana.setCharset(238);
    const QByteArray bytes = verdana.persist();
    EXPECT_EQ(static_cast<unsigned char>(bytes[19]), 0x0E);

    qsizetype consumed = 0;
    auto back = StdFont::restore(bytes + QByteArray("trailing"), &consumed);
    EXPECT_EQ(consumed, bytes.size());
    EXPECT_TRUE(back->sameLook(verdana));
    EXPECT_TRUE(back->bold());
    EXPECT_DOUBLE_EQ(back->size(), 10.8);
}

TEST(StdFontPersisted, WrongClassOrShortDataIsInvalidFormat)
{
    QByteArray bytes = StdFont(QStringLiteral("Tahoma"), 8.4).persist();
    QByteArray wrongClass = bytes;
    wrongClass[0] = 0;
    EXPECT_THROW(StdFont::restore(wrongClass), AutomationError);
    EXPECT_THROW(StdFont::restore(bytes.left(bytes.size() - 1)), AutomationError);
}

TEST(StdFontObject, SharedReferenceAndQFont)
{
    auto font = StdFont::create(QStringLiteral("Tahoma"), 8.4);
    std::shared_ptr<StdFont> sameObject = font;
    sameObject->setName(QStringLiteral("Verdana"));
    EXPECT_EQ(font->name(), QStringLiteral("Verdana"));

    font->setBold(true);
    const QFont qfont = font->toQFont();
    EXPECT_EQ(qfont.family(), QStringLiteral("Verdana"));
    EXPECT_DOUBLE_EQ(qfont.pointSizeF(), 8.4);
    EXPECT_EQ(qfont.weight(), QFont::Bold);

    // Late-bound access: the default member is the face name.
    std::vector<Variant> args;
    EXPECT_EQ(font->invoke(kDispIdValue, MemberKind::PropertyGet, args).toString(), QStringLiteral("Verdana"));
    font->putProperty(QStringLiteral("Bold"), false);
    EXPECT_EQ(font->weight(), 400);
}

} // namespace
