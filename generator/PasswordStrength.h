#pragma once

#include "CharacterRange.h"

#include <QString>

#include <cstdint>

// How hard a generated password is to guess, in bits: the base-2 logarithm
// of how many passwords the same options could have made, each equally
// likely.
//
// From the system's random source every character is drawn on its own, so
// n characters from a range of r codes give n x log2(r) bits. From a seed of
// the user's own the password follows from the seed alone: whoever knows or
// guesses the seed makes it again, and there are only 2^32 seeds, so it has
// at most 32 bits, however long it is.
struct PasswordStrength {
    std::int32_t length = 0;    // characters drawn; 0 when the length was not positive
    std::int32_t rangeSize = 0; // codes each character can be
    bool ownSeed = false;
    double bits = 0;
};

inline constexpr int kSeedBits = 32;

PasswordStrength passwordStrength(bool ownSeed, std::int32_t length, const CodeRange& range);

// The hint the password box shows as its tooltip and its accessible
// description: the strength and what it rests on, in plain words.
QString strengthHint(const PasswordStrength& strength);

// The bits written as the hint writes them: one decimal, none for a whole number.
QString bitsText(double bits);
