#include "services/ChaCha20.h"

#include <gtest/gtest.h>

namespace {

// RFC 8439, test vector of section 2.3.2: key 00:01:...:1f, nonce
// 00:00:00:09:00:00:00:4a:00:00:00:00, block counter 1.
TEST(ChaCha20Block, MatchesTheRfc8439TestVector)
{
    const services::ChaChaKey key = {0x03020100, 0x07060504, 0x0b0a0908, 0x0f0e0d0c,
                                     0x13121110, 0x17161514, 0x1b1a1918, 0x1f1e1d1c};
    const services::ChaChaNonce nonce = {0x09000000, 0x4a000000, 0x00000000};
    const services::ChaChaBlock expected = {0xe4e7f110, 0x15593bd1, 0x1fdd0f50, 0xc47120a3,
                                            0xc7f4d1c7, 0x0368c033, 0x9aaa2204, 0x4e6cd4c3,
                                            0x466482d2, 0x09aa9f07, 0x05d7c214, 0xa2028bd9,
                                            0xd19c12b5, 0xb94e16de, 0xe883d0cb, 0x4e3c50a2};
    EXPECT_EQ(services::chacha20Block(key, 1, nonce), expected);
}

} // namespace
