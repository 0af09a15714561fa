#pragma once

// Damaged copies of a real compiled HTML Help file: its header and directory
// fields set to bad values, its chunks and compressed content overwritten,
// cut short at many lengths, bytes flipped at random, and files of random
// bytes. Each case is written to a file of its own for the reader to open.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <functional>
#include <random>
#include <vector>

namespace helpfiles {

struct DamagedFile {
    QString name;
    QByteArray bytes;
};

inline void putNumber(QByteArray& bytes, qsizetype offset, quint64 value, int size)
{
    for (int i = 0; i < size && offset + i < bytes.size(); ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

inline quint64 numberAt(const QByteArray& bytes, qsizetype offset, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | (offset + i < bytes.size() ? static_cast<unsigned char>(bytes[offset + i]) : 0);
    return value;
}

inline void fill(QByteArray& bytes, qsizetype offset, qsizetype length, char value)
{
    for (qsizetype i = offset; i < offset + length && i < bytes.size(); ++i)
        if (i >= 0)
            bytes[i] = value;
}

// `flips` random variants and `randomFiles` files of random bytes, from a
// fixed seed, so that a failure can be repeated.
inline std::vector<DamagedFile> damagedCopies(const QByteArray& original, int flips = 120, int randomFiles = 12)
{
    std::vector<DamagedFile> cases;
    const auto damaged = [&](const char* name, const std::function<void(QByteArray&)>& damage) {
        QByteArray bytes = original;
        damage(bytes);
        cases.push_back({QString::fromLatin1(name), bytes});
    };
    // Offsets of the ITSF header (version 3) and the ITSP directory header.
    const auto directory = static_cast<qsizetype>(numberAt(original, 0x48, 8));
    const auto chunkSize = static_cast<qsizetype>(numberAt(original, directory + 0x10, 4));
    const qsizetype firstChunk = directory + 0x54;
    const auto content = static_cast<qsizetype>(numberAt(original, 0x58, 8));

    damaged("signature", [](QByteArray& b) { b.replace(0, 4, "XXXX"); });
    damaged("version", [](QByteArray& b) { putNumber(b, 0x04, 0xFFFFFFFF, 4); });
    damaged("header length huge", [](QByteArray& b) { putNumber(b, 0x08, 0xFFFFFFFF, 4); });
    damaged("directory offset past the end", [](QByteArray& b) { putNumber(b, 0x48, 0x7FFFFFFFFFFFFFFFull, 8); });
    damaged("directory offset negative", [](QByteArray& b) { putNumber(b, 0x48, 0xFFFFFFFFFFFFFFF0ull, 8); });
    damaged("directory length zero", [](QByteArray& b) { putNumber(b, 0x50, 0, 8); });
    damaged("directory length huge", [](QByteArray& b) { putNumber(b, 0x50, 0x7FFFFFFFFFFFull, 8); });
    damaged("content offset past the end", [](QByteArray& b) { putNumber(b, 0x58, 0x7FFFFFFFFFFFull, 8); });
    damaged("content offset zero", [](QByteArray& b) { putNumber(b, 0x58, 0, 8); });
    damaged("directory signature", [&](QByteArray& b) { b.replace(directory, 4, "XXXX"); });
    damaged("chunk size zero", [&](QByteArray& b) { putNumber(b, directory + 0x10, 0, 4); });
    damaged("chunk size one", [&](QByteArray& b) { putNumber(b, directory + 0x10, 1, 4); });
    damaged("chunk size huge", [&](QByteArray& b) { putNumber(b, directory + 0x10, 0xFFFFFFFF, 4); });
    damaged("index depth huge", [&](QByteArray& b) { putNumber(b, directory + 0x18, 0xFFFFFFFF, 4); });
    damaged("index root out of range", [&](QByteArray& b) { putNumber(b, directory + 0x1C, 0x7FFFFFFF, 4); });
    damaged("first listing chunk out of range", [&](QByteArray& b) { putNumber(b, directory + 0x20, 0x7FFFFFFF, 4); });
    damaged("chunk count huge", [&](QByteArray& b) { putNumber(b, directory + 0x2C, 0xFFFFFFFF, 4); });
    damaged("listing free space huge", [&](QByteArray& b) { putNumber(b, firstChunk + 4, 0xFFFFFFFF, 4); });
    damaged("listing next chunk loops", [&](QByteArray& b) { putNumber(b, firstChunk + 0x10, 0, 4); });
    damaged("listing entries 0xFF", [&](QByteArray& b) { fill(b, firstChunk + 0x14, chunkSize - 0x14, char(0xFF)); });
    damaged("listing entries zero", [&](QByteArray& b) { fill(b, firstChunk + 0x14, chunkSize - 0x14, 0); });
    damaged("compressed content zero", [&](QByteArray& b) { fill(b, content + 0x1000, 0x4000, 0); });
    damaged("compressed content 0xFF", [&](QByteArray& b) { fill(b, b.size() - 0x5000, 0x5000, char(0xFF)); });
    damaged("reset table garbage", [&](QByteArray& b) { fill(b, content, 0x400, char(0x7F)); });

    for (qsizetype size : {0, 1, 4, 0x38, 0x60, 0x78, 0xB4}) {
        cases.push_back({QStringLiteral("cut at %1").arg(size), original.left(size)});
    }
    for (qsizetype size = 0x100; size < original.size(); size += 0x380)
        cases.push_back({QStringLiteral("cut at %1").arg(size), original.left(size)});
    cases.push_back({QStringLiteral("cut by one"), original.left(original.size() - 1)});

    std::mt19937 random(20261211);
    std::uniform_int_distribution<qsizetype> position(0, original.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int variant = 0; variant < flips; ++variant) {
        QByteArray bytes = original;
        for (int i = 0; i < 6; ++i)
            bytes[position(random)] = char(byte(random));
        cases.push_back({QStringLiteral("flipped %1").arg(variant), bytes});
    }
    std::uniform_int_distribution<int> length(1, 40000);
    for (int variant = 0; variant < randomFiles; ++variant) {
        QByteArray bytes(length(random), '\0');
        for (char& c : bytes)
            c = char(byte(random));
        if (variant % 2 == 0)
            bytes.replace(0, original.left(0x60).size(), original.left(0x60)); // a real header before the noise
        cases.push_back({QStringLiteral("random %1").arg(variant), bytes});
    }
    return cases;
}

inline QString writeCase(const QDir& folder, int index, const DamagedFile& file)
{
    const QString path = folder.filePath(QStringLiteral("damaged-%1.chm").arg(index));
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(file.bytes);
    return path;
}

} // namespace helpfiles
