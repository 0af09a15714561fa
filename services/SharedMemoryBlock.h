#pragma once

#include <QString>

#include <cstddef>
#include <optional>

// A named block of POSIX shared memory that hands a text to another process
// of the same user (the object "/" + block name, under /dev/shm on Linux).
//
// Layout of a block: a 32-bit little-endian byte count n, then n bytes of
// text in the Windows-1252 code page (characters the page lacks become "?").
// WriteText resizes the block to exactly 4 + n bytes. A block that has been
// opened but not yet written is empty (0 bytes) and reads as empty text.
//
// Block names are encoded in UTF-8. An empty name, "." or "..", a name
// containing "/" or a control character (NUL included), or one longer than
// NAME_MAX - 1 bytes fails with error 75 (path/file access error), as does a
// name the system refuses. Blanks are allowed.
//
// Only a block of this user is used: OpenBlock creates a missing block with
// mode 0600 whatever the umask, and refuses with error 70 (permission denied)
// a block that belongs to another user, so that nobody else can pre-create a
// block and read what is written to it. A block of this user that others may
// access (a companion created it with its umask, 0644 say) is made 0600
// before anything is written into it.
namespace services {

class SharedMemoryBlock {
public:
    SharedMemoryBlock();
    // Releases the mapping; the block itself stays for its reader.
    ~SharedMemoryBlock();

    SharedMemoryBlock(const SharedMemoryBlock&) = delete;
    SharedMemoryBlock& operator=(const SharedMemoryBlock&) = delete;

    // Opens the named block, creating it when absent. Opening another block
    // releases the previous one only once the new one is open.
    void OpenBlock(QString& blockName);
    // Replaces the block's content with the text. Before OpenBlock: error 91.
    void WriteText(QString& text);

private:
    void releaseMapping();

    int m_descriptor = -1;
    void* m_mapping = nullptr;
    std::size_t m_mappedSize = 0;
    QString m_name;
};

// The text in the named block, or nothing when there is no such block. A
// block whose count runs past its end fails with error 321 (invalid file
// format); a block of another user fails with error 70, as in OpenBlock.
std::optional<QString> ReadSharedMemoryBlock(const QString& blockName);

// Removes the named block; nothing happens when there is none.
void RemoveSharedMemoryBlock(const QString& blockName);

} // namespace services
