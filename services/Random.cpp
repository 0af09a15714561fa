#include "services/Random.h"

#include "automation/AutomationError.h"
#include "services/ChaCha20.h"

#include <sys/random.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace services {
namespace {

constexpr std::uint32_t kSeedExpansionNonce = 0x64656573; // "seed", little-endian

// Kept trivially constructible so that reaching the thread's instance costs
// no initialisation guard on every draw.
struct Generator {
    ChaChaKey key;
    ChaChaNonce nonce;
    std::uint64_t blockCount;
    ChaChaBlock buffer;
    int remaining;       // unread words at the end of buffer; 0 in a new thread
    std::uint32_t seedings;
    bool keyed;
};

thread_local Generator t_generator{};

void fillSystemRandom(void* target, std::size_t size)
{
    auto* bytes = static_cast<unsigned char*>(target);
    while (size > 0) {
        const ssize_t got = getrandom(bytes, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            automation::raiseError(automation::ErrorNumber::InvalidProcedureCall,
                                   QStringLiteral("The system's random source cannot be read: %1")
                                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        }
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
}

void keyFromSystem(Generator& g)
{
    ChaChaKey key;
    fillSystemRandom(key.data(), sizeof key); // a failure leaves the generator as it was
    g.key = key;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    g.nonce = {static_cast<std::uint32_t>(nanoseconds), static_cast<std::uint32_t>(nanoseconds >> 32), ++g.seedings};
}

void keyFromSeed(Generator& g, std::int32_t seed)
{
    ChaChaKey k0{};
    k0[0] = static_cast<std::uint32_t>(seed);
    const ChaChaBlock expanded = chacha20Block(k0, 0, {kSeedExpansionNonce, 0, 0});
    for (int i = 0; i < 8; ++i)
        g.key[i] = expanded[i];
    g.nonce = {0, 0, 0};
}

void restartStream(Generator& g)
{
    g.blockCount = 0;
    g.remaining = 0;
    g.keyed = true;
}

void refill(Generator& g)
{
    ChaChaNonce nonce = g.nonce;
    nonce[0] += static_cast<std::uint32_t>(g.blockCount >> 32);
    g.buffer = chacha20Block(g.key, static_cast<std::uint32_t>(g.blockCount), nonce);
    ++g.blockCount;
    g.remaining = 16;
}

inline std::uint32_t nextWord()
{
    Generator& g = t_generator;
    if (g.remaining == 0) [[unlikely]] {
        if (!g.keyed) {
            keyFromSystem(g);
            restartStream(g);
        }
        refill(g);
    }
    return g.buffer[16 - g.remaining--];
}

} // namespace

void SeedRandom(std::int32_t seed)
{
    Generator& g = t_generator;
    if (seed == 0)
        keyFromSystem(g);
    else
        keyFromSeed(g, seed);
    restartStream(g);
}

std::int32_t RandomInt(std::int32_t low, std::int32_t high)
{
    if (low > high) {
        automation::raiseError(automation::ErrorNumber::InvalidProcedureCall,
                               QStringLiteral("RandomInt: the lower bound %1 is greater than the upper bound %2.")
                                   .arg(low)
                                   .arg(high));
    }
    const std::uint64_t count = std::uint64_t(std::int64_t(high) - std::int64_t(low)) + 1;
    if (count == (std::uint64_t(1) << 32))
        return static_cast<std::int32_t>(nextWord());

    std::uint64_t product = std::uint64_t(nextWord()) * count;
    if (static_cast<std::uint32_t>(product) < count) {
        const auto threshold = static_cast<std::uint32_t>(((std::uint64_t(1) << 32) - count) % count);
        while (static_cast<std::uint32_t>(product) < threshold)
            product = std::uint64_t(nextWord()) * count;
    }
    return static_cast<std::int32_t>(std::int64_t(low) + std::int64_t(product >> 32));
}

} // namespace services
