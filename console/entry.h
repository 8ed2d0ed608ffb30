#pragma once
// One listed file: a shortcut (.lnk) resolved through the shell, or an Internet shortcut (.url).
#include <optional>
#include <string>

#include "console/system.h"

namespace console {

struct Entry {
  std::string name;              // file name as the directory gives it, extension included
  std::string folder;            // folder holding the file, ending with "\" (or empty)
  std::string target;            // what the shortcut points to
  std::string target_extension;  // lower case, without the dot
  std::string arguments;
};

// The entry for file `name` in `folder`, or nothing when it is not a shortcut, cannot be loaded
// or points to no file. .url files are not read: they open in the web browser.
std::optional<Entry> ResolveFile(const std::string& folder, const std::string& name, const System& system);

}  // namespace console
