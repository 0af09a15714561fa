#pragma once

#include "system/RegistryHive.h"

#include <QString>

class QWidget;

namespace quorrel {

// Starts the system's System Information tool, as the hive names it:
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO "PATH" as a
// command line, else "MSINFO" of ...\Shared Tools Location followed by
// "\MSINFO32.EXE" when that file exists. Otherwise, and when starting fails,
// tells the user that it is unavailable.
void StartSysInfo(QWidget* owner);

// Reads a value of a key in the hive into `KeyVal`: text values as they
// are, 32-bit values appended in their reversed hexadecimal form with "&h"
// in front. False, with `KeyVal` empty, when the key or the value is
// missing or the value is longer than 1024 characters.
bool GetKeyValue(const sysapi::HKEY& KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

} // namespace quorrel
