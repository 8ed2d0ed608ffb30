#pragma once
// Opening a file for the C library's streams, the one step of it that differs between systems.
#include <cstdio>
#include <string>

namespace ui {

// Like std::fopen with mode "rb", "r+b" or "wb" (any other mode fails), but the file is never
// inherited by a program started while it is open: a helper started by another thread during a
// save would otherwise hold the temporary file, and the save's replace of it would fail.
[[nodiscard]] std::FILE* OpenFileUninherited(const std::string& path, const char* mode);

}  // namespace ui
