// Draws per second of RandomInt against std::mt19937 with
// std::uniform_int_distribution, over the same range and count.
#include "services/Random.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>

namespace {

constexpr std::int32_t kLow = 32;
constexpr std::int32_t kHigh = 126;
constexpr long kDraws = 20'000'000;

template <typename Draw>
double drawsPerSecond(Draw draw, std::uint64_t& checksum)
{
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < kDraws; ++i)
        checksum += static_cast<std::uint64_t>(draw());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return kDraws / elapsed.count();
}

} // namespace

int main()
{
    std::uint64_t checksum = 0; // keeps the draws from being optimised away

    services::SeedRandom(0);
    const double chacha = drawsPerSecond([] { return services::RandomInt(kLow, kHigh); }, checksum);

    std::mt19937 engine(std::random_device{}());
    std::uniform_int_distribution<std::int32_t> distribution(kLow, kHigh);
    const double twister = drawsPerSecond([&] { return distribution(engine); }, checksum);

    std::printf("RandomInt(%d, %d), %ld draws each\n", kLow, kHigh, kDraws);
    std::printf("  RandomInt (ChaCha20):                  %8.1f M draws/s\n", chacha / 1e6);
    std::printf("  std::mt19937 + uniform_int_distribution: %8.1f M draws/s\n", twister / 1e6);
    std::printf("  ratio: %.2f (target >= 0.5)\n", chacha / twister);
    std::printf("  (checksum %llu)\n", static_cast<unsigned long long>(checksum));
    return 0;
}
