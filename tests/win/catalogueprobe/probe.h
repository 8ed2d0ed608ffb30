#pragma once
// The parts of catalogueprobe beyond the refresh itself.
#include <string>

namespace probe {

// Plays a console helper that misbehaves as `how` says; returns its exit code.
int PlayHelper(const std::string& how);
int PrintThreadState();
int PrintIcons();
int Bench(int lines);

}  // namespace probe
