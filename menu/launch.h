#pragma once
// Launching an entry of the menu window: the object is checked, started through Windows,
// the menu closes and the use is recorded. An object that is gone is reported instead.
#include <string>

namespace menu {

constexpr char kNoLongerAvailable[] = "Cet objet n'est plus disponible.";
constexpr int kNoLongerAvailableMs = 2000;

// For a click on control `control` of the menu window.
void LaunchEntry(int control);

// The target a shortcut points to, asked of the console helper; "" when it cannot tell.
std::string ResolveShortcut(const std::string& shortcut_path);

// Starts a file as a program (quoted, with the parameters), or when that fails opens it
// through the shell with its default verb. The working folder defaults to the program's own
// for a program start and to the file's folder for the shell. Never waits.
void OpenPath(const std::string& path, const std::string& parameters, const std::string& working_folder);

}  // namespace menu
