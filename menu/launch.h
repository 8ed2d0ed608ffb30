#pragma once
// Launching an entry of the menu window: the object is checked, started through Windows,
// the menu closes and the use is recorded. An object that is gone is reported instead.
#include <cstddef>
#include <optional>
#include <string>

namespace menu {

constexpr char kNoLongerAvailable[] = "Cet objet n'est plus disponible.";
constexpr int kNoLongerAvailableMs = 2000;

// For a click on control `control` of the menu window.
void LaunchEntry(int control);

// Told each time a click has started something, so that the window scan can leave the new
// windows alone. Handed in by the program's top; nothing is told until then.
void SetLaunchListener(void (*on_launched)());

// The target a shortcut points to, asked of the console helper; "" when its answer names none.
// Nothing when no answer came: the helper could not be started (application control or an
// antivirus may refuse a program in the user's data folder) or wrote nothing (it cannot read the
// shortcut, or its target is no file, such as a Control Panel item).
std::optional<std::string> ResolveShortcut(const std::string& shortcut_path);

// Shortcuts that point at shortcuts: the shell follows such a chain when it opens the first one,
// and on a loop it recurses until the stack overflows. The chain is followed here instead, so
// that a loop, or a chain of more than kMaxShortcutHops shortcuts, is reported as gone.
constexpr std::size_t kMaxShortcutHops = 8;

// The target at the end of the chain that starts at a shortcut; "" when a link of it names no
// target, when it loops or when it is too long; nothing when a link of it got no answer.
std::optional<std::string> ResolveShortcutChain(const std::string& shortcut_path);

// Starts a file as a program (quoted, with the parameters), or when that fails opens it
// through the shell with its default verb. The working folder defaults to the program's own
// for a program start and to the file's folder for the shell. Never waits.
void OpenPath(const std::string& path, const std::string& parameters, const std::string& working_folder);

}  // namespace menu
