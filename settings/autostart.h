#pragma once
// Starting the program at logon: a value under the user's Run key naming the executable.
#include <string>

#include "settings/settings.h"

namespace settings {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAutostartValueName[] = "Kestrivalume";

// The value is a command line: the path in double quotes. Unquoted, Windows would try a path
// with a space piece by piece ("D:\Mes.exe" before "D:\Mes outils\Kestrivalume.exe"), and
// would run whatever someone placed there at every logon.
std::string AutostartCommand(const std::string& program);

// Writes the value with the program's quoted full path when the setting is positive, otherwise
// deletes it. Registry failures are ignored. A value of an earlier version is rewritten with it.
void UpdateAutostart(Flag load_on_windows_start);

}  // namespace settings
