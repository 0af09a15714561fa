#include "automation/AutomationError.h"
#include "automation/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>

using namespace automation;

namespace {

// The error number a call fails with, or nothing when it succeeds.
template <typename F>
std::optional<int> errorOf(F&& call)
{
    try {
        call();
    } catch (const AutomationError& error) {
        return error.number();
    }
    return std::nullopt;
}

struct TextCase {
    const char* text;
    std::optional<double> value; // nothing: fails with 13
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class TextToDouble : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToDouble, ReadsNumbersInTheCLocale)
{
    const TextCase& c = GetParam();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (c.value) {
        EXPECT_DOUBLE_EQ(textToDouble(QString::fromUtf8(c.text), english), *c.value) << c.text;
    } else {
        EXPECT_EQ(errorOf([&] { textToDouble(QString::fromUtf8(c.text), english); }), ErrorNumber::TypeMismatch)
            << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToDouble,
                         ::testing::Values(TextCase{"7.9", 7.9}, TextCase{"-0.5", -0.5}, TextCase{" 12 ", 12},
                                           TextCase{"\t+12\t", 12}, TextCase{"1e3", 1000}, TextCase{"1E-2", 0.01},
                                           TextCase{"2D2", 200}, TextCase{".5", 0.5}, TextCase{"5.", 5},
                                           TextCase{"1,000", 1000}, TextCase{"1,234,567.25", 1234567.25},
                                           TextCase{"&H1F", 31}, TextCase{"&h1f", 31}, TextCase{"&HFFFF", -1},
                                           TextCase{"&H8000", -32768}, TextCase{"&H10000", 65536},
                                           TextCase{"&HFFFFFFFF", -1}, TextCase{"&O17", 15},
                                           TextCase{"32768", 32768}, TextCase{"-32769", -32769},
                                           TextCase{"2147483648", 2147483648.0}, TextCase{"", std::nullopt},
                                           TextCase{"   ", std::nullopt}, TextCase{"abc", std::nullopt},
                                           TextCase{"12abc", std::nullopt}, TextCase{"1e", std::nullopt},
                                           TextCase{"-", std::nullopt}, TextCase{",5", std::nullopt},
                                           TextCase{"1 2", std::nullopt}, TextCase{"&H", std::nullopt},
                                           TextCase{"&HG", std::nullopt}, TextCase{"&O8", std::nullopt}));

TEST(TextToDoubleLocale, UsesTheLocaleSeparators)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("7,9"), german), 7.9);
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("1.000,5"), german), 1000.5);
    // The point is the German group separator, as the platform reads it.
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("1.5"), german), 15);
}

TEST(TextToDoubleRange, BeyondDoubleIsOverflow)
{
    EXPECT_EQ(errorOf([] { textToDouble(QStringLiteral("1e999"), QLocale::c()); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { textToDouble(QStringLiteral("&H100000000"), QLocale::c()); }), ErrorNumber::Overflow);
}

struct WholeCase {
    double input;
    std::optional<int> rounded; // half to even, 16-bit; nothing: overflow
    std::optional<int> floored; // towards minus infinity, 16-bit; nothing: overflow
};

void PrintTo(const WholeCase& c, std::ostream* out) { *out << c.input; }

class WholeNumbers : public ::testing::TestWithParam<WholeCase> {};

TEST_P(WholeNumbers, RoundAndFloorInto16Bits)
{
    const WholeCase& c = GetParam();
    if (c.rounded)
        EXPECT_EQ(doubleToInteger(c.input), *c.rounded) << c.input;
    else
        EXPECT_EQ(errorOf([&] { doubleToInteger(c.input); }), ErrorNumber::Overflow) << c.input;
    if (c.floored)
        EXPECT_EQ(floorToInteger(c.input), *c.floored) << c.input;
    else
        EXPECT_EQ(errorOf([&] { floorToInteger(c.input); }), ErrorNumber::Overflow) << c.input;
}

INSTANTIATE_TEST_SUITE_P(Cases, WholeNumbers,
                         ::testing::Values(WholeCase{7.9, 8, 7}, WholeCase{-0.5, 0, -1}, WholeCase{12.5, 12, 12},
                                           WholeCase{-12.5, -12, -13}, WholeCase{13.5, 14, 13},
                                           WholeCase{0.5, 0, 0}, WholeCase{1.5, 2, 1}, WholeCase{2.5000001, 3, 2},
                                           WholeCase{32767, 32767, 32767}, WholeCase{32767.4, 32767, 32767},
                                           WholeCase{32767.5, std::nullopt, 32767},
                                           WholeCase{32768, std::nullopt, std::nullopt},
                                           WholeCase{-32768, -32768, -32768},
                                           WholeCase{-32768.5, -32768, std::nullopt},
                                           WholeCase{-32769, std::nullopt, std::nullopt},
                                           WholeCase{NAN, std::nullopt, std::nullopt},
                                           WholeCase{INFINITY, std::nullopt, std::nullopt}));

TEST(LongNumbers, RangeOf32Bits)
{
    EXPECT_EQ(doubleToLong(2147483647.0), 2147483647);
    EXPECT_EQ(doubleToLong(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(errorOf([] { doubleToLong(2147483648.0); }), ErrorNumber::Overflow);
    EXPECT_EQ(floorToLong(-12.5), -13);
    EXPECT_EQ(errorOf([] { floorToLong(-2147483648.5); }), ErrorNumber::Overflow);
}

TEST(NumberText, DecimalForms)
{
    EXPECT_EQ(numberToText(-32768), QStringLiteral("-32768"));
    EXPECT_EQ(numberToText(12.0, QLocale::c()), QStringLiteral("12"));
    EXPECT_EQ(numberToText(0.1, QLocale::c()), QStringLiteral("0.1"));
    EXPECT_EQ(numberToText(-7.25, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("-7,25"));
    EXPECT_EQ(numberToText(1e20, QLocale::c()), QStringLiteral("1E+20"));
}

TEST(TextBoolean, WordsAndNumbers)
{
    EXPECT_TRUE(textToBool(QStringLiteral("true")));
    EXPECT_TRUE(textToBool(QStringLiteral("TRUE")));
    EXPECT_FALSE(textToBool(QStringLiteral("False")));
    EXPECT_TRUE(textToBool(QStringLiteral("-1")));
    EXPECT_FALSE(textToBool(QStringLiteral("0")));
    EXPECT_EQ(errorOf([] { textToBool(QStringLiteral("yes")); }), ErrorNumber::TypeMismatch);
}

} // namespace
