#pragma once

#include "quorrel/TypeLibrary.h"

#include <QString>

namespace quorrel {

// A text of the library's string table, by number (fails with 326 for an
// id the table lacks).
QString loadString(int id);

} // namespace quorrel
