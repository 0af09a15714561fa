#pragma once

#include <QString>

#include <memory>

namespace sysapi {

// Sequential text output to a file, in the ANSI code page (Windows-1252; a
// character the page lacks becomes "?") with CR LF line ends.
//
// The text goes to a new file in the target's folder; commit() flushes it to
// disk and renames it over the target. Until then the target is untouched,
// so a failed write never destroys an older file.
//
// - A symbolic link is followed: the file it points to is the one replaced.
// - A replaced file keeps its mode and, where the system allows, its owner
//   and group; a new file gets mode 0600, whatever the umask.
// - Where the file system allows it, the new file has no name until
//   commit(), so nothing is left behind even when the process is killed;
//   elsewhere it is a hidden file next to the target. A writer destroyed
//   without commit() removes what it made.
// - Any name the system accepts works: the temporary name is shortened to
//   fit.
//
// Every failure is a numbered error whose description names the file: 76
// path not found, 70 permission denied, 61 disk full, 75 path/file access
// error (a folder in the way, a loop of links), 52 bad file name (empty, or
// longer than the system allows), 57 device I/O error for anything else.
class TextFileWriter {
public:
    // Makes the new file in the target's folder.
    explicit TextFileWriter(const QString& path);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Writes the text and CR LF.
    void writeLine(const QString& text);
    // Makes the written text the content of the target file.
    void commit();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace sysapi
