#include "sources/icon_cache.h"

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/scale.h"

namespace sources {

namespace {

constexpr std::size_t kBuckets = 512;

// A path the shell can open: a quoted path loses its quotes (and whatever follows them).
std::string UnquotedPath(const std::string& path) {
  if (path.empty() || path[0] != '"') return path;
  const std::size_t closing = path.find('"', 1);
  return path.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
}

// Looks the key up and, the first time only, asks `question` and remembers its answer, all
// under the lock so that two threads never ask about the same key.
template <typename Question>
services::IconHandle Cached(IconCache& cache, const std::string& key, Question question) {
  std::lock_guard<std::mutex> held(cache.lock);
  auto found = cache.icons.find(key);
  if (found != cache.icons.end()) return found->second;
  const services::IconHandle icon = question();
  cache.icons.emplace(key, icon);
  return icon;
}

// Called with the lock held.
services::IconHandle GenericIconOnce(IconCache& cache) {
  if (!cache.generic_asked) {
    cache.generic = services::GenericIcon(cache.side);
    cache.generic_asked = true;
  }
  return cache.generic;
}

}  // namespace

IconCache::IconCache(int icon_side) : side(icon_side), icons(kBuckets) {}

IconCache& ProcessIconCache() {
  static IconCache cache(ui::Scaled(16, platform::Env().screen_dpi));
  return cache;
}

std::string FileIconKey(const std::string& path) {
  std::string name = platform::FileNamePart(path);
  if (!name.empty() && name[0] == '"') name.erase(0, 1);
  const std::size_t quote = name.find('"');
  if (quote != std::string::npos) name.erase(quote);
  return platform::LowerAscii(name);
}

std::string ExtensionIconKey(const std::string& extension) { return "." + platform::LowerAscii(extension); }

services::IconHandle FileIcon(IconCache& cache, const std::string& path) {
  const std::string key = FileIconKey(path);
  if (key.empty()) return 0;  // a folder or nothing: no file to ask about
  return Cached(cache, key, [&cache, &path] { return services::FileIcon(UnquotedPath(path), cache.side); });
}

services::IconHandle ExtensionIcon(IconCache& cache, const std::string& extension) {
  const std::string key = ExtensionIconKey(extension);
  return Cached(cache, key, [&cache, &key] {
    const services::IconHandle icon = services::TypeIcon(key, cache.side);
    return icon != 0 ? icon : GenericIconOnce(cache);
  });
}

services::IconHandle FileIcon(const std::string& path) { return FileIcon(ProcessIconCache(), path); }

services::IconHandle ExtensionIcon(const std::string& extension) {
  return ExtensionIcon(ProcessIconCache(), extension);
}

}  // namespace sources
