#pragma once
// Shell icons of files and file types, asked of the shell once per file name and once per
// extension for the whole run. The catalogue refresh thread and the GUI thread both use it.
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/services.h"

namespace sources {

struct IconCache {
  explicit IconCache(int icon_side = 16);
  // The size the icons are asked for (they are drawn at it): 16 pixels at 96 DPI.
  const int side;
  // Lower-case key -> icon (0 allowed: a failed question is remembered too).
  std::unordered_map<std::string, services::IconHandle> icons;
  // The generic document icon, asked for once and shared by every type without an icon of its own.
  bool generic_asked = false;
  services::IconHandle generic = 0;
  // The one lock of the program: the refresh thread and the GUI thread both ask.
  std::mutex lock;
};

// The cache of the whole run, of the icons at the size the menu draws them (16 pixels at 96 DPI,
// scaled for the primary display's DPI).
IconCache& ProcessIconCache();

// Key of a file: its name without folder and quotes, lower case ("C:\A\Setup.EXE" -> "setup.exe").
std::string FileIconKey(const std::string& path);
// Key of a file type: "." + the extension in lower case ("PDF" -> ".pdf").
std::string ExtensionIconKey(const std::string& extension);

// The icon of a file, or 0.
services::IconHandle FileIcon(IconCache& cache, const std::string& path);
services::IconHandle FileIcon(const std::string& path);
// The icon of a file type (extension without the dot); the generic icon when the shell
// has none.
services::IconHandle ExtensionIcon(IconCache& cache, const std::string& extension);
services::IconHandle ExtensionIcon(const std::string& extension);

}  // namespace sources
