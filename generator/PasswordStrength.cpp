#include "PasswordStrength.h"

#include <algorithm>
#include <cmath>

PasswordStrength passwordStrength(bool ownSeed, std::int32_t length, const CodeRange& range)
{
    PasswordStrength strength;
    strength.length = std::max<std::int32_t>(length, 0);
    strength.rangeSize = range.size();
    strength.ownSeed = ownSeed;
    const double drawn = strength.length * std::log2(static_cast<double>(strength.rangeSize));
    strength.bits = ownSeed ? std::min(drawn, static_cast<double>(kSeedBits)) : drawn;
    return strength;
}

QString bitsText(double bits)
{
    const double tenths = std::round(bits * 10.0);
    if (std::fmod(tenths, 10.0) == 0.0)
        return QString::number(tenths / 10.0, 'f', 0);
    return QString::number(tenths / 10.0, 'f', 1);
}

QString strengthHint(const PasswordStrength& strength)
{
    if (strength.length == 0)
        return QStringLiteral("Strength: 0 bits. The password is empty.");
    const QString characters = strength.length == 1 ? QStringLiteral("1 character")
                                                     : QStringLiteral("%1 characters").arg(strength.length);
    if (!strength.ownSeed) {
        return QStringLiteral("Strength: %1 bits. %2, each drawn from the system's random source as one of %3 "
                              "possible codes.")
            .arg(bitsText(strength.bits), characters)
            .arg(strength.rangeSize);
    }
    return QStringLiteral("Strength: at most %1 bits. This password was made from a seed of your own: anyone who "
                          "knows or guesses the seed can recreate it. There are at most 2^32 such passwords, so it "
                          "has at most 32 bits, however long it is.")
        .arg(bitsText(strength.bits));
}
