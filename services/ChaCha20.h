#pragma once

#include <array>
#include <cstdint>

// The ChaCha20 block function (RFC 8439, section 2.3) that the random source
// runs on. It is declared here so that its known-answer test can reach it.
namespace services {

using ChaChaKey = std::array<std::uint32_t, 8>;   // the 32-byte key as little-endian words
using ChaChaNonce = std::array<std::uint32_t, 3>; // the 12-byte nonce as little-endian words
using ChaChaBlock = std::array<std::uint32_t, 16>;

// The 16 output words of one block: the state after 20 rounds plus the
// initial state (constants, key, block counter, nonce). Word i holds output
// bytes 4i..4i+3, little-endian.
ChaChaBlock chacha20Block(const ChaChaKey& key, std::uint32_t counter, const ChaChaNonce& nonce);

} // namespace services
