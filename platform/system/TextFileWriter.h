#pragma once

#include <QString>

#include <memory>

namespace sysapi {

// Sequential text output to a file, in the ANSI code page (Windows-1252; a
// character the page lacks becomes "?") with CR LF line ends.
//
// The text goes to a temporary file in the target's folder, created readable
// and writable by its owner only (mode 0600); commit() flushes it to disk and
// renames it over the target. Until then the target is untouched, so a
// failed write never destroys an older file, and a writer destroyed without
// commit() removes its temporary file. Every failure is a numbered error
// whose description names the file: 76 path not found, 70 permission denied,
// 61 disk full, 75 path/file access error (a folder in the way), 52 bad file
// name, 57 device I/O error for anything else.
class TextFileWriter {
public:
    // Creates the temporary file next to `path`.
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
