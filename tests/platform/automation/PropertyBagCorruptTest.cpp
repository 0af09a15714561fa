// Stored property bags come from files; whatever their bytes, reading them
// ends in a bag or in error 321, never in a crash or an endless loop.
#include "automation/AutomationError.h"
#include "automation/PropertyBag.h"
#include "automation/StdFont.h"

#include <gtest/gtest.h>

#include <random>

using namespace automation;

namespace {

QByteArray sampleBag()
{
    PropertyBag bag;
    bag.setExtent(445, 868);
    bag.writeProperty(QStringLiteral("enabled"), false, true);
    bag.writeProperty(QStringLiteral("font"), StdFont::create(QStringLiteral("Tahoma"), 8.4));
    bag.writeProperty(QStringLiteral("caption"), QStringLiteral("2"));
    bag.writeProperty(QStringLiteral("ratio"), 0.5);
    return bag.toBytes();
}

// Reading either succeeds or fails with the numbered error for bad data.
void expectBagOrInvalidFormat(const QByteArray& bytes)
{
    try {
        const PropertyBag bag = PropertyBag::fromBytes(bytes);
        for (const QString& name : bag.names())
            (void)bag.readProperty(name).typeName();
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), ErrorNumber::InvalidFileFormat);
    }
}

TEST(PropertyBagCorruptInput, EveryTruncationIsRefused)
{
    const QByteArray bytes = sampleBag();
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        try {
            PropertyBag::fromBytes(bytes.left(length));
            ADD_FAILURE() << "a bag cut to " << length << " bytes was accepted";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), ErrorNumber::InvalidFileFormat);
        }
    }
    EXPECT_NO_THROW(PropertyBag::fromBytes(bytes));
}

TEST(PropertyBagCorruptInput, FlippedBytesEndInABagOrAnError)
{
    const QByteArray bytes = sampleBag();
    std::mt19937 random(20261211);
    for (int round = 0; round < 20000; ++round) {
        QByteArray damaged = bytes;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i)
            damaged[static_cast<qsizetype>(random() % damaged.size())] = static_cast<char>(random());
        expectBagOrInvalidFormat(damaged);
    }
}

TEST(PropertyBagCorruptInput, RandomBytesEndInABagOrAnError)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        QByteArray noise(static_cast<qsizetype>(random() % 64), Qt::Uninitialized);
        for (char& c : noise)
            c = static_cast<char>(random());
        if (round % 2 == 0 && noise.size() >= 9)
            noise.replace(0, 5, QByteArray("VXPB\x01", 5)); // get past the header half of the time
        expectBagOrInvalidFormat(noise);
    }
}

TEST(PropertyBagCorruptInput, AHugeDeclaredLengthIsRefusedWithoutAllocatingIt)
{
    QByteArray bytes("VXPB\x01\x01\x00\x00\x00", 9);
    bytes.append("\x01\x00", 2).append("a\x00", 2);        // key "a"
    bytes.append(char(8)).append("\xff\xff\xff\x7f", 4); // a string of 2^31 - 1 units
    EXPECT_THROW(PropertyBag::fromBytes(bytes), AutomationError);
}

} // namespace
