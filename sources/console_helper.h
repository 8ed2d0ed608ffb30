#pragma once
// Running the console helper (data folder + "KestrivalumeConsole.exe") hidden and reading its
// output line by line: the catalogue refresh lists the Start menu with it, launching resolves
// one shortcut with it.
#include <functional>
#include <string>

namespace sources {

// The helper is given up on after this long without output; it is ended in any case.
constexpr int kConsoleHelperStallLimitMs = 3000;

// Runs the helper with `parameters` (a path holding blanks must come quoted) and hands each
// line to `on_line` as soon as it is read. False when the helper cannot be started, or when the
// program's end cut its run short (services::EndHiddenPrograms).
bool RunConsoleHelper(const std::string& parameters, const std::function<void(const std::string& line)>& on_line);

}  // namespace sources
