#include "sources/icon_cache.h"

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/scale.h"

namespace sources {

namespace {

constexpr std::size_t kBuckets = 512;
constexpr int kSideAt96Dpi = 16;

// A path the shell can open: a quoted path loses its quotes (and whatever follows them).
std::string UnquotedPath(const std::string& path) {
  if (path.empty() || path[0] != '"') return path;
  const std::size_t closing = path.find('"', 1);
  return path.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
}

// Looks the key up and, the first time only, asks `question` and remembers its answer. The
// shell is asked outside the lock, the key marked pending meanwhile: a thread that needs it then
// gets nothing (no icon for now) instead of waiting, and never asks a second time.
template <typename Question>
std::optional<services::IconHandle> Cached(IconCache& cache, const std::string& key, Question question) {
  {
    std::lock_guard<std::mutex> held(cache.lock);
    auto found = cache.icons.find(key);
    if (found != cache.icons.end()) return found->second;
    if (!cache.pending.insert(key).second) return std::nullopt;
  }
  const services::IconHandle icon = question();
  std::lock_guard<std::mutex> held(cache.lock);
  cache.pending.erase(key);
  cache.icons.emplace(key, icon);
  return icon;
}

// The generic icon, asked of the shell by the first thread that needs it (outside the lock, as
// above); 0 for the others until the answer comes.
services::IconHandle GenericIconOnce(IconCache& cache) {
  using Question = IconCache::Question;
  {
    std::lock_guard<std::mutex> held(cache.lock);
    if (cache.generic_question == Question::Answered) return cache.generic;
    if (cache.generic_question == Question::Pending) return 0;
    cache.generic_question = Question::Pending;
  }
  const services::IconHandle icon = services::GenericIcon(cache.side);
  std::lock_guard<std::mutex> held(cache.lock);
  cache.generic = icon;
  cache.generic_question = Question::Answered;
  return icon;
}

// Every cache of the run, one per icon side, none ever destroyed: the refresh thread parses with
// the cache it took at its start, and the catalogue it publishes holds that cache's icons. A DPI
// change leaves at most one cache of icons per side behind. Only the GUI thread adds a cache or
// moves `current`; any thread reads `current`.
struct SideCaches {
  explicit SideCaches(int side) { current = Made(side); }
  IconCache* Made(int side) {
    made.push_back(std::make_unique<IconCache>(side));
    return made.back().get();
  }
  std::vector<std::unique_ptr<IconCache>> made;
  std::atomic<IconCache*> current{nullptr};
};

SideCaches& Caches() {
  static SideCaches caches(IconSideAt(platform::Env().screen_dpi));
  return caches;
}

}  // namespace

IconCache::IconCache(int icon_side) : side(icon_side), icons(kBuckets) {}

IconCache& ProcessIconCache() { return *Caches().current.load(); }

int IconSideAt(int dpi) { return ui::Scaled(kSideAt96Dpi, dpi); }

void FollowScreenDpi(int dpi) {
  const int side = IconSideAt(dpi);
  SideCaches& caches = Caches();
  if (side <= 0 || caches.current.load()->side == side) return;
  for (const std::unique_ptr<IconCache>& kept : caches.made) {
    if (kept->side == side) {
      caches.current = kept.get();
      return;
    }
  }
  caches.current = caches.Made(side);
}

void ResetIconCaches() {
  SideCaches& caches = Caches();
  caches.current = caches.Made(IconSideAt(platform::Env().screen_dpi));
  caches.made.erase(caches.made.begin(), caches.made.end() - 1);
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
  const auto ask = [&cache, &path] { return services::FileIcon(UnquotedPath(path), cache.side); };
  return Cached(cache, key, ask).value_or(0);
}

services::IconHandle ExtensionIcon(IconCache& cache, const std::string& extension) {
  const std::string key = ExtensionIconKey(extension);
  const std::optional<services::IconHandle> own =
      Cached(cache, key, [&cache, &key] { return services::TypeIcon(key, cache.side); });
  if (!own) return 0;
  return *own != 0 ? *own : GenericIconOnce(cache);
}

services::IconHandle FileIcon(const std::string& path) { return FileIcon(ProcessIconCache(), path); }

services::IconHandle ExtensionIcon(const std::string& extension) {
  return ExtensionIcon(ProcessIconCache(), extension);
}

}  // namespace sources
