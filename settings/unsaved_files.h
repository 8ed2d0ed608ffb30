#pragma once
// Files that the last save could not write. Memory then holds newer content than they do, and
// a load that follows the failed save (Apply saves and then loads again) must keep memory
// instead of bringing the older file back.
#include <string>

namespace settings {

// Records the outcome of a save of `path`; a later successful save clears a failure.
void NoteSaveResult(const std::string& path, bool written);

// Whether the last save of `path` failed, so that memory is newer than the file.
bool LastSaveFailed(const std::string& path);

}  // namespace settings
