#pragma once
// Questions about files that the settings ask before using one.
#include <string>

namespace settings {

// True when the file exists, can be read and holds at least one byte.
bool FileHasContent(const std::string& path);

}  // namespace settings
