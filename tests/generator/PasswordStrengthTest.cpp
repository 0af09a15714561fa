// The strength hint of a generated password: bits from the length and the
// character range, bounded by the 32 bits of a seed of the user's own.
#include "PasswordStrength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace {

struct StrengthCase {
    const char* name;
    bool ownSeed;
    std::int32_t length;
    bool nonPrintable;
    bool symbols;
    std::int32_t rangeSize;
    double bits;
    const char* bitsText;
};

void PrintTo(const StrengthCase& c, std::ostream* out) { *out << c.name; }

class PasswordStrengthTest : public ::testing::TestWithParam<StrengthCase> {};

TEST_P(PasswordStrengthTest, BitsFollowTheRangeAndTheSeed)
{
    const StrengthCase& c = GetParam();
    const PasswordStrength strength = passwordStrength(c.ownSeed, c.length, codeRange(c.nonPrintable, c.symbols));
    EXPECT_EQ(strength.rangeSize, c.rangeSize);
    EXPECT_NEAR(strength.bits, c.bits, 0.005);
    EXPECT_EQ(bitsText(strength.bits), QString::fromLatin1(c.bitsText));
    EXPECT_TRUE(strengthHint(strength).startsWith(QStringLiteral("Strength: ")));
    EXPECT_TRUE(strengthHint(strength).contains(QString::fromLatin1(c.bitsText) + QStringLiteral(" bits")))
        << strengthHint(strength).toStdString();
}

// Ranges: 95 printable codes (32 to 126); 128 codes (0 to 127); 222 codes
// (32 to 126 and 128 to 254, a drawn 127 is drawn again); all 256.
INSTANTIATE_TEST_SUITE_P(
    Options, PasswordStrengthTest,
    ::testing::Values(StrengthCase{"Defaults", false, 10, false, false, 95, 65.699, "65.7"},
                      StrengthCase{"OneCharacter", false, 1, false, false, 95, 6.570, "6.6"},
                      StrengthCase{"NonPrintableOnly", false, 10, true, false, 128, 70.0, "70"},
                      StrengthCase{"SymbolsOnly", false, 10, false, true, 222, 77.94, "77.9"},
                      StrengthCase{"NonPrintableAndSymbols", false, 10, true, true, 256, 80.0, "80"},
                      StrengthCase{"LongestPassword", false, 32767, true, true, 256, 262136.0, "262136"},
                      StrengthCase{"EmptyPassword", false, 0, false, false, 95, 0.0, "0"},
                      StrengthCase{"NegativeLength", false, -3, true, true, 256, 0.0, "0"},
                      StrengthCase{"OwnSeed", true, 10, false, false, 95, 32.0, "32"},
                      StrengthCase{"OwnSeedAllCodes", true, 100, true, true, 256, 32.0, "32"},
                      StrengthCase{"OwnSeedShortPassword", true, 3, false, false, 95, 19.710, "19.7"},
                      StrengthCase{"OwnSeedFourCodesOfAllRanges", true, 4, true, true, 256, 32.0, "32"}),
    [](const ::testing::TestParamInfo<StrengthCase>& info) { return std::string(info.param.name); });

TEST(PasswordStrengthHintTest, SystemTimeNamesLengthAndRange)
{
    EXPECT_EQ(strengthHint(passwordStrength(false, 10, codeRange(false, false))),
              QStringLiteral("Strength: 65.7 bits. 10 characters, each drawn from the system's random source as one "
                             "of 95 possible codes."));
}

TEST(PasswordStrengthHintTest, OwnSeedSaysPlainlyThatTheSeedRecreatesThePassword)
{
    const QString hint = strengthHint(passwordStrength(true, 20, codeRange(false, true)));
    EXPECT_TRUE(hint.startsWith(QStringLiteral("Strength: at most 32 bits.")));
    EXPECT_TRUE(hint.contains(QStringLiteral("anyone who knows or guesses the seed can recreate it")));
    EXPECT_TRUE(hint.contains(QStringLiteral("at most 2^32 such passwords")));
}

TEST(PasswordStrengthHintTest, EmptyPasswordHasNoStrength)
{
    EXPECT_EQ(strengthHint(passwordStrength(false, 0, codeRange(false, false))),
              QStringLiteral("Strength: 0 bits. The password is empty."));
}

} // namespace
