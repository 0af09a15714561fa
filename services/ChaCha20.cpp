#include "services/ChaCha20.h"

#include <bit>

namespace services {
namespace {

// "expand 32-byte k" as four little-endian words.
constexpr std::array<std::uint32_t, 4> kConstants = {0x61707865, 0x3320646e, 0x79622d32, 0x6b206574};

inline void quarterRound(ChaChaBlock& x, int a, int b, int c, int d)
{
    x[a] += x[b]; x[d] = std::rotl(x[d] ^ x[a], 16);
    x[c] += x[d]; x[b] = std::rotl(x[b] ^ x[c], 12);
    x[a] += x[b]; x[d] = std::rotl(x[d] ^ x[a], 8);
    x[c] += x[d]; x[b] = std::rotl(x[b] ^ x[c], 7);
}

} // namespace

ChaChaBlock chacha20Block(const ChaChaKey& key, std::uint32_t counter, const ChaChaNonce& nonce)
{
    ChaChaBlock initial{};
    for (int i = 0; i < 4; ++i)
        initial[i] = kConstants[i];
    for (int i = 0; i < 8; ++i)
        initial[4 + i] = key[i];
    initial[12] = counter;
    for (int i = 0; i < 3; ++i)
        initial[13 + i] = nonce[i];

    ChaChaBlock x = initial;
    for (int round = 0; round < 10; ++round) { // ten double rounds: column, then diagonal
        quarterRound(x, 0, 4, 8, 12);
        quarterRound(x, 1, 5, 9, 13);
        quarterRound(x, 2, 6, 10, 14);
        quarterRound(x, 3, 7, 11, 15);
        quarterRound(x, 0, 5, 10, 15);
        quarterRound(x, 1, 6, 11, 12);
        quarterRound(x, 2, 7, 8, 13);
        quarterRound(x, 3, 4, 9, 14);
    }
    for (int i = 0; i < 16; ++i)
        x[i] += initial[i];
    return x;
}

} // namespace services
