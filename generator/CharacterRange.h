#pragma once

#include <cstdint>

// The character codes that the two check boxes allow: a password character
// is drawn from low to high, both included.
struct CodeRange {
    std::int32_t low;
    std::int32_t high;
    bool redrawDelete; // 127 lies inside the range but is drawn again

    // How many codes can occur: every code from low to high, less 127 when
    // it is drawn again.
    constexpr std::int32_t size() const { return high - low + 1 - (redrawDelete ? 1 : 0); }
};

constexpr CodeRange codeRange(bool nonPrintable, bool symbols)
{
    if (nonPrintable)
        return symbols ? CodeRange{0, 255, false} : CodeRange{0, 127, false};
    return symbols ? CodeRange{32, 254, true} : CodeRange{32, 126, false};
}
