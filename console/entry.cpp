#include "console/entry.h"

#include "ui/strings.h"

namespace console {

std::string ExtensionOf(const std::string& path) {
  const std::string name = SplitAtLastSeparator(path).name;
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? "" : ui::LowerAscii(name.substr(dot + 1));
}

SplitPath SplitAtLastSeparator(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return {"", path};
  return {path.substr(0, separator + 1), path.substr(separator + 1)};
}

std::optional<Entry> ResolveFile(const std::string& folder, const std::string& name, const Platform& platform) {
  const std::string extension = ExtensionOf(name);
  if (extension == "url") return Entry{name, folder, "iexplore.exe", "htm", ""};
  if (extension != "lnk") return std::nullopt;
  const std::optional<ShortcutTarget> shortcut = platform.read_shortcut(folder + name);
  if (!shortcut || shortcut->target.empty()) return std::nullopt;
  return Entry{name, folder, shortcut->target, ExtensionOf(shortcut->target), shortcut->arguments};
}

}  // namespace console
