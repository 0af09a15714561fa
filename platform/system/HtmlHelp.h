#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// The platform's HTML Help call: shows a compiled HTML Help file (.chm) in a
// help viewer window of ours.
namespace sysapi {

// Shows the default topic of the file named in the path.
inline constexpr int HH_DISPLAY_TOPIC = 0;

// Opens the help file at `path` for `caller`, the calling window (the viewer
// belongs to its top-level window and closes with it). `path` may name a
// topic inside the file as "file.chm::/topic.htm". Command HH_DISPLAY_TOPIC
// shows that topic or the file's default topic; `data` is not used by it.
// A second call for the same file and window shows the topic in the viewer
// already open and raises it.
//
// Returns the viewer window, or nullptr when nothing was shown: the file is
// missing or damaged, or the command is not supported. Never throws and
// never shows a message of its own.
QWidget* HtmlHelp(QWidget* caller, const QString& path, int command, quintptr data);

} // namespace sysapi
