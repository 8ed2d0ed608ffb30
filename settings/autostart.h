#pragma once
// Starting the program at logon: a value under the user's Run key naming the executable.
#include "settings/settings.h"

namespace settings {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAutostartValueName[] = "Kestrivalume";

// Writes the value with the program's full path when the setting is positive, otherwise
// deletes it. Registry failures are ignored.
void UpdateAutostart(Flag load_on_windows_start);

}  // namespace settings
