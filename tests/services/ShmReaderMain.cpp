// Reads a shared-memory block from a process of its own and prints the text
// as UTF-8: exit 0 with the text, 2 when there is no such block, 1 with the
// error on stderr when reading fails.
#include "automation/AutomationError.h"
#include "services/SharedMemoryBlock.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: shm_reader BLOCK-NAME\n");
        return 1;
    }
    try {
        const auto text = services::ReadSharedMemoryBlock(QString::fromUtf8(argv[1]));
        if (!text)
            return 2;
        const QByteArray utf8 = text->toUtf8();
        std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
        return 0;
    } catch (const automation::AutomationError& error) {
        std::fprintf(stderr, "error %d: %s\n", error.number(), qPrintable(error.description()));
        return 1;
    }
}
