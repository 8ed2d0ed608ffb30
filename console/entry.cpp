#include "console/entry.h"

#include "platform/paths.h"

namespace console {

std::optional<Entry> ResolveFile(const std::string& folder, const std::string& name, const System& system) {
  const std::string extension = platform::LowerExtension(name);
  if (extension == "url") return Entry{name, folder, "iexplore.exe", "htm", ""};
  if (extension != "lnk") return std::nullopt;
  const std::optional<ShortcutTarget> shortcut = system.read_shortcut(folder + name);
  if (!shortcut || shortcut->target.empty()) return std::nullopt;
  return Entry{name, folder, shortcut->target, platform::LowerExtension(shortcut->target), shortcut->arguments};
}

}  // namespace console
