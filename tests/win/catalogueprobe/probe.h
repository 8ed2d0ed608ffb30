#pragma once
// The parts of catalogueprobe beyond the refresh itself.
#include <string>

namespace probe {

// Plays a console helper that misbehaves as `how` says; returns its exit code.
int PlayHelper(const std::string& how);
// The helper's part and the program's part of the check on inherited handles (inheritance.cpp).
int PlayHandleHolder();
int PrintInheritance(const std::string& folder);
int PrintThreadState();
int PrintIcons();
int Bench(int lines);
// Times the shown names of the kept catalogue of a data folder (names_bench.cpp).
int BenchNames(const std::string& data_folder);

}  // namespace probe
