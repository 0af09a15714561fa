#pragma once

#include <QImage>
#include <QString>

// Resources of a loaded library, found by number, the way the platform loads
// a bitmap resource from a library file. A library keeps its bitmaps in its
// Qt resources under
//   :/libraries/<name>/bitmaps/<number>.bmp
// where <name> is the library file's name without "lib" and without ".so..."
// (libtarvo.so.1 -> tarvo). The resources register themselves when the
// library is loaded.
namespace sysapi {

// The file of the loaded library (or program) that holds `address`; empty
// when none does.
QString libraryFileOf(const void* address);

// The bitmap resource `resourceId` of the library file, loading the library
// when it is not loaded yet. A null image when the file cannot be loaded or
// holds no such bitmap.
QImage loadLibraryBitmap(const QString& libraryPath, int resourceId);

// A registered toolbox bitmap value, "<library path>, <number>", loaded the
// same way; a null image when the value is malformed.
QImage loadToolboxBitmap(const QString& registryValue);

} // namespace sysapi
