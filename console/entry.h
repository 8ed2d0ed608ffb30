#pragma once
// One listed file: a shortcut (.lnk) resolved through the shell, or an Internet shortcut (.url).
#include <optional>
#include <string>

#include "console/platform.h"

namespace console {

struct Entry {
  std::string name;              // file name as the directory gives it, extension included
  std::string folder;            // folder holding the file, ending with "\" (or empty)
  std::string target;            // what the shortcut points to
  std::string target_extension;  // lower case, without the dot
  std::string arguments;
};

// Lower-cased text after the last "." of the last path component ("" when it has none).
std::string ExtensionOf(const std::string& path);

// The entry for file `name` in `folder`, or nothing when it is not a shortcut, cannot be loaded
// or points to no file. .url files are not read: they open in the web browser.
std::optional<Entry> ResolveFile(const std::string& folder, const std::string& name, const Platform& platform);

// A path split after its last "\" or "/": the folder part keeps the separator.
struct SplitPath {
  std::string folder;
  std::string name;
};
SplitPath SplitAtLastSeparator(const std::string& path);

}  // namespace console
