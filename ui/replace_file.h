#pragma once
// The two steps of a safe save that differ between systems.
#include <cstdio>
#include <string>

namespace ui {

// Asks the system to put the file's written bytes on the disk (after fflush), so that
// the replacement below never exposes a file whose contents are still only in memory.
[[nodiscard]] bool FlushFileToDisk(std::FILE* file);

// Replaces target with temporary in one step (target may or may not exist). On failure
// both files are as they were.
[[nodiscard]] bool ReplaceFileWith(const std::string& temporary, const std::string& target);

}  // namespace ui
