#include "services/Random.h"

#include "automation/AutomationError.h"
#include "services/ChaCha20.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <thread>
#include <vector>

using services::RandomInt;
using services::SeedRandom;

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::vector<std::int32_t> draw(int count, std::int32_t low, std::int32_t high)
{
    std::vector<std::int32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(RandomInt(low, high));
    return values;
}

// Figures computed independently of this code, from the derivation that
// Random.h documents, with another ChaCha20 implementation.
TEST(SeedRandom, ASeedGivesTheDocumentedSequence)
{
    SeedRandom(12345);
    EXPECT_EQ(draw(24, 32, 126), (std::vector<std::int32_t>{88, 121, 66, 70, 119, 93, 116, 81, 90, 64, 80, 103,
                                                             119, 106, 119, 119, 46, 90, 63, 115, 74, 100, 48, 95}));
    SeedRandom(-7);
    EXPECT_EQ(draw(4, kMin, kMax), (std::vector<std::int32_t>{-872946709, 640107618, -1168149380, -622606834}));
    SeedRandom(1);
    EXPECT_EQ(draw(12, 0, 2), (std::vector<std::int32_t>{2, 1, 1, 2, 2, 0, 1, 2, 1, 0, 1, 2}));
}

TEST(SeedRandom, FullRangeDrawsAreTheStreamWordsInOrder)
{
    const std::int32_t seed = 987654;
    services::ChaChaKey k0{};
    k0[0] = static_cast<std::uint32_t>(seed);
    const services::ChaChaBlock expanded = services::chacha20Block(k0, 0, {0x64656573, 0, 0});
    services::ChaChaKey key{};
    std::copy_n(expanded.begin(), 8, key.begin());

    SeedRandom(seed);
    for (std::uint32_t block = 0; block < 3; ++block) {
        const services::ChaChaBlock words = services::chacha20Block(key, block, {0, 0, 0});
        for (std::uint32_t word : words)
            ASSERT_EQ(RandomInt(kMin, kMax), static_cast<std::int32_t>(word)) << "block " << block;
    }
}

class SeededSequence : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(SeededSequence, RepeatsForTheSameSeed)
{
    SeedRandom(GetParam());
    const auto first = draw(100, 0, 255);
    const auto firstWide = draw(10, kMin, kMax);
    SeedRandom(GetParam());
    EXPECT_EQ(draw(100, 0, 255), first);
    EXPECT_EQ(draw(10, kMin, kMax), firstWide);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SeededSequence, ::testing::Values(1, -1, 12345, kMin, kMax));

TEST(SeedRandom, DifferentSeedsGiveDifferentSequences)
{
    SeedRandom(1);
    const auto one = draw(8, kMin, kMax);
    SeedRandom(2);
    EXPECT_NE(draw(8, kMin, kMax), one);
}

TEST(SeedRandom, SeedZeroNeverRepeats)
{
    SeedRandom(0);
    const auto first = draw(8, kMin, kMax);
    SeedRandom(0);
    EXPECT_NE(draw(8, kMin, kMax), first);
}

TEST(SeedRandom, ThreadsKeepTheirOwnState)
{
    SeedRandom(99);
    auto mainThread = draw(3, kMin, kMax);
    std::vector<std::int32_t> otherThread;
    std::vector<std::int32_t> unseededA;
    std::vector<std::int32_t> unseededB;
    std::thread([&] {
        SeedRandom(99);
        otherThread = draw(10, kMin, kMax);
    }).join();
    std::thread([&] { unseededA = draw(8, kMin, kMax); }).join();
    std::thread([&] { unseededB = draw(8, kMin, kMax); }).join();
    const auto rest = draw(7, kMin, kMax);
    mainThread.insert(mainThread.end(), rest.begin(), rest.end());

    EXPECT_EQ(mainThread, otherThread);
    EXPECT_NE(unseededA, unseededB); // a thread that never seeds starts as after SeedRandom(0)
}

struct Range {
    std::int32_t low;
    std::int32_t high;
};

void PrintTo(const Range& r, std::ostream* out) { *out << r.low << ".." << r.high; }

class RandomIntRange : public ::testing::TestWithParam<Range> {};

TEST_P(RandomIntRange, StaysWithinTheBoundsAndReachesBothEnds)
{
    const Range r = GetParam();
    SeedRandom(4711);
    std::set<std::int32_t> ends;
    for (int i = 0; i < 20000; ++i) {
        const std::int32_t value = RandomInt(r.low, r.high);
        ASSERT_GE(value, r.low);
        ASSERT_LE(value, r.high);
        if (value == r.low || value == r.high)
            ends.insert(value);
    }
    const bool wide = std::int64_t(r.high) - r.low > 1000;
    if (!wide) {
        EXPECT_EQ(ends, (std::set<std::int32_t>{r.low, r.high}));
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, RandomIntRange,
                         ::testing::Values(Range{0, 0}, Range{32, 126}, Range{-5, 5}, Range{0, 255},
                                           Range{kMin, kMin + 1}, Range{kMax - 2, kMax}, Range{kMin, kMax},
                                           Range{kMin, 0}, Range{-1, kMax}));

TEST(RandomInt, SmallRangeIsUniform)
{
    SeedRandom(2024);
    constexpr int kValues = 256;
    constexpr int kPerValue = 400;
    std::vector<int> counts(kValues, 0);
    for (int i = 0; i < kValues * kPerValue; ++i)
        ++counts[RandomInt(0, kValues - 1)];
    double chiSquare = 0;
    for (int count : counts) {
        ASSERT_GT(count, 0);
        chiSquare += double(count - kPerValue) * (count - kPerValue) / kPerValue;
    }
    EXPECT_LT(chiSquare, 330.5); // 255 degrees of freedom, p = 0.001
}

// With 3 * 2^30 values, mapping a word by "modulo" would make the lowest
// third twice as likely as the rest.
TEST(RandomInt, LargeRangeHasNoModuloBias)
{
    SeedRandom(31337);
    const std::int32_t low = kMin;
    constexpr std::int64_t kThird = std::int64_t(1) << 30;
    const auto high = static_cast<std::int32_t>(low + 3 * kThird - 1);
    const std::int64_t firstThirdEnd = low + kThird;
    constexpr int kDraws = 300000;
    int inFirstThird = 0;
    for (int i = 0; i < kDraws; ++i)
        inFirstThird += RandomInt(low, high) < firstThirdEnd ? 1 : 0;
    EXPECT_NEAR(double(inFirstThird) / kDraws, 1.0 / 3.0, 0.01);
}

TEST(RandomInt, FullRangeGivesBothSigns)
{
    SeedRandom(5);
    bool negative = false;
    bool positive = false;
    for (int i = 0; i < 64; ++i) {
        const std::int32_t value = RandomInt(kMin, kMax);
        negative = negative || value < 0;
        positive = positive || value > 0;
    }
    EXPECT_TRUE(negative);
    EXPECT_TRUE(positive);
}

TEST(RandomInt, LowAboveHighIsError5AndConsumesNothing)
{
    SeedRandom(77);
    const std::int32_t expected = RandomInt(0, 1000);
    SeedRandom(77);
    try {
        RandomInt(10, 3);
        FAIL() << "no error";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_TRUE(error.description().contains(QLatin1String("10")));
        EXPECT_TRUE(error.description().contains(QLatin1String("3")));
    }
    EXPECT_EQ(RandomInt(0, 1000), expected);
}

} // namespace
