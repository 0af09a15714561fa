#include "system/CodePage.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace sysapi;

namespace {

TEST(CodePage1252, AllCodesSurviveARoundTrip)
{
    QByteArray all;
    for (int code = 0; code < 256; ++code)
        all.append(static_cast<char>(code));
    const QString text = fromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
}

struct Mapping {
    unsigned char code;
    char16_t character;
};

void PrintTo(const Mapping& m, std::ostream* out) { *out << "code " << int(m.code); }

class CodePageMapping : public ::testing::TestWithParam<Mapping> {};

TEST_P(CodePageMapping, CodeAndCharacterCorrespond)
{
    const Mapping m = GetParam();
    EXPECT_EQ(ansiToUnicode(m.code), m.character);
    EXPECT_EQ(unicodeToAnsi(m.character), m.code);
}

// The euro sign and typographic marks live in 0x80-0x9F; the five undefined
// codes stand for the control characters of the same number.
INSTANTIATE_TEST_SUITE_P(Cases, CodePageMapping,
                         ::testing::Values(Mapping{0x00, 0x0000}, Mapping{0x41, u'A'}, Mapping{0x7F, 0x007F},
                                           Mapping{0x80, 0x20AC}, Mapping{0x81, 0x0081}, Mapping{0x8D, 0x008D},
                                           Mapping{0x8F, 0x008F}, Mapping{0x90, 0x0090}, Mapping{0x9D, 0x009D},
                                           Mapping{0x92, 0x2019}, Mapping{0x9F, 0x0178}, Mapping{0xA0, 0x00A0},
                                           Mapping{0xE9, u'é'}, Mapping{0xFF, 0x00FF}));

TEST(CodePage1252, CharactersOutsideThePageBecomeQuestionMarks)
{
    EXPECT_FALSE(unicodeToAnsi(0x0080).has_value()); // 0x80 is the euro sign
    EXPECT_FALSE(unicodeToAnsi(0x0100).has_value());
    EXPECT_EQ(toAnsi(QStringLiteral("a\u0100b")), QByteArray("a?b"));
    EXPECT_EQ(toAnsi(QString::fromUtf8("x\xF0\x9F\x94\x91y")), QByteArray("x?y")); // one character, one "?"
    EXPECT_EQ(toAnsi(QStringLiteral("€")), QByteArray("\x80"));
}

} // namespace
