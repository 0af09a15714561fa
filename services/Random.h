#pragma once

#include <cstdint>

// The random source: a cryptographically strong generator built on the
// ChaCha20 block function, with one state per thread (a thread's draws never
// disturb another's).
//
// SeedRandom(0), and every thread before its first SeedRandom call, keys the
// generator with 32 bytes from getrandom(); the nonce holds the wall-clock
// time in nanoseconds and a per-thread count of seedings, so no two seedings
// repeat and nothing can be predicted from the clock.
//
// SeedRandom(s) with s != 0 makes the following draws a fixed sequence of s,
// the same on every machine and in every run:
//   1. k0  = s as 4 bytes little-endian (two's complement), then 28 zero bytes;
//   2. key = words 0..7 of the ChaCha20 block (RFC 8439) with key k0,
//            block counter 0 and nonce words {0x64656573 ("seed"), 0, 0};
//   3. the stream is the ChaCha20 blocks with that key, nonce {0, 0, 0} and
//      block counters 0, 1, 2, ...; the 64-bit block count runs on into
//      nonce word 0 after 2^32 blocks.
// Draws consume the stream one 32-bit word w at a time: words 0 to 15 of each
// block in order, where word i is output bytes 4i..4i+3 read little-endian.
//
// RandomInt(low, high) with n = high - low + 1 values:
//   n = 2^32 (the full range): the result is w read as a signed number;
//   otherwise, with m = w * n as a 64-bit product, words are drawn until the
//   low 32 bits of m are at least (2^32 - n) mod n, and the result is
//   low + (m >> 32). The rejection removes any bias towards some values.
namespace services {

void SeedRandom(std::int32_t seed);

// A whole number drawn uniformly from low to high, both included. low above
// high fails with error 5 (invalid procedure call or argument).
std::int32_t RandomInt(std::int32_t low, std::int32_t high);

} // namespace services
