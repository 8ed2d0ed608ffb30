#include <algorithm>
#include <tuple>

#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace {

// The same entries, in whatever order the system lists them.
bool Same(std::vector<services::FolderEntry> a, std::vector<services::FolderEntry> b) {
  const auto key = [](const services::FolderEntry& e) { return std::tie(e.name, e.is_folder, e.size, e.last_write); };
  const auto by_key = [&key](const services::FolderEntry& x, const services::FolderEntry& y) { return key(x) < key(y); };
  std::sort(a.begin(), a.end(), by_key);
  std::sort(b.begin(), b.end(), by_key);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (key(a[i]) != key(b[i])) return false;
  }
  return true;
}

std::vector<services::FolderEntry> ListingOf(const std::string& folder) {
  auto found = fakes::FakeServices().folders.find(folder);
  return found == fakes::FakeServices().folders.end() ? std::vector<services::FolderEntry>{} : found->second;
}

}  // namespace

namespace services {

WatchHandle WatchFolder(const std::string& folder) {
  auto& fake = fakes::FakeServices();
  if (fake.unwatchable_folders.count(folder)) return 0;
  fake.watches.push_back({folder, ListingOf(folder), false});
  return fake.watches.size();
}

bool FolderChanged(WatchHandle watch) {
  auto& watches = fakes::FakeServices().watches;
  if (watch == 0 || watch > watches.size() || watches[watch - 1].stopped) return false;
  fakes::Services::Watch& seen = watches[watch - 1];
  std::vector<FolderEntry> now = ListingOf(seen.folder);
  if (Same(now, seen.seen)) return false;
  seen.seen = std::move(now);
  return true;
}

void StopWatch(WatchHandle watch) {
  auto& watches = fakes::FakeServices().watches;
  if (watch != 0 && watch <= watches.size()) watches[watch - 1].stopped = true;
}

}  // namespace services
