#pragma once
// Counting programs started outside the menu: every few seconds the top-level windows are
// compared with the processes seen before; a window of a new process whose program the
// Start-menu catalogue knows is recorded as a use of that program.
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"
#include "shell/program_hooks.h"
#include "sources/running_programs.h"

namespace shell {

// Process ids seen with a window, each with the mark of the latest scan.
using KnownProcesses = std::map<services::ProcessId, bool>;

// Start-up's snapshot: programs already running are never counted.
void RememberRunningPrograms(KnownProcesses& known);

// One scan. New processes are examined unless something was launched from the menu since the
// last scan (its windows are then only remembered); processes without windows are forgotten.
void ScanWindows(KnownProcesses& known, bool launched_since_scan, const ProgramHooks& hooks);

// Records the use of a newly started program if the catalogue knows it; system hosts,
// screen savers and our own console helper are ignored.
void ExamineNewProgram(const std::string& program_path, const ProgramHooks& hooks);

}  // namespace shell
