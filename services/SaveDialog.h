#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace services {

// Asks the user, through the dialog seam (ui::dialogs()), for a file to save
// to. All arguments are taken by reference:
//   fileName          in: the name the dialog starts with; out: the chosen file's full path
//   fileTitle         out: the chosen file's name, without its folder
//   overwritePrompt   nonzero (-1): ask before replacing an existing file
//   filter            entries "description:pattern" separated by "|", e.g.
//                     "Text files (*.txt):*.txt|All files (*.*):*.*"; several
//                     patterns in one entry are separated by ";"
//   filterIndex       the entry selected at first, counted from 1 (out of range: the first)
//   initialDirectory  the folder the dialog starts in; empty: the current folder
//   dialogTitle       empty: "Save As"
//   defaultExtension  appended ("txt" or ".txt") when the user types a name without one
//   owner             the dialog's parent window, or nullptr
//   flags             reserved: no flags are defined, the value is ignored
// Returns true when the user chose a file. On cancel it returns false and
// leaves fileName and fileTitle as they were.
bool ShowSaveDialog(QString& fileName, QString& fileTitle, const std::int32_t& overwritePrompt,
                    const QString& filter, const std::int32_t& filterIndex, const QString& initialDirectory,
                    const QString& dialogTitle, const QString& defaultExtension, QWidget* const& owner,
                    const std::int32_t& flags);

} // namespace services
