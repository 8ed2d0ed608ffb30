#include "sources/start_menu_changes.h"

#include <algorithm>
#include <functional>

#include "sources/stamp.h"

namespace sources {

namespace {

// A folder of the walk with its entries; `listed` is false for a folder that could not be listed
// (one that is not there: an existing folder lists "." at least).
using FolderVisit =
    std::function<void(const std::string& folder, const std::vector<services::FolderEntry>& entries, bool listed)>;

struct Walk {
  const FolderVisit& visit;
  std::size_t entries = 0;
};

// Every folder below `folder` and the folder itself, its entries in name order ("." and ".."
// left out): the system's order is not promised.
void WalkTree(const std::string& folder, int depth, Walk& walk) {
  if (walk.entries > kMaxStampEntries) return;
  std::vector<services::FolderEntry> listing = services::ListFolder(folder);
  const bool listed = !listing.empty();
  listing.erase(std::remove_if(listing.begin(), listing.end(),
                               [](const services::FolderEntry& entry) { return entry.name == "." || entry.name == ".."; }),
                listing.end());
  std::sort(listing.begin(), listing.end(),
            [](const services::FolderEntry& a, const services::FolderEntry& b) { return a.name < b.name; });
  walk.entries += listing.size();
  walk.visit(folder, listing, listed);
  if (depth >= kMaxStampDepth) return;
  for (const services::FolderEntry& entry : listing) {
    if (entry.is_folder) WalkTree(folder + entry.name + "\\", depth + 1, walk);
  }
}

void WalkTrees(const std::vector<std::string>& roots, const FolderVisit& visit) {
  Walk walk{visit};
  for (const std::string& root : roots) {
    if (!root.empty()) WalkTree(root, 0, walk);
  }
}

void StopWatches(StartMenuWatch& watch) {
  for (const services::WatchHandle handle : watch.watches) services::StopWatch(handle);
  watch.watches.clear();
  watch.whole = false;
}

}  // namespace

std::vector<std::string> StartMenuRoots() {
  return {services::SpecialFolder(services::kFolderStartMenu), services::SpecialFolder(services::kFolderCommonStartMenu)};
}

std::uint64_t StartMenuStamp(const std::vector<std::string>& roots) {
  Stamp stamp;
  WalkTrees(roots, [&stamp](const std::string& folder, const std::vector<services::FolderEntry>& entries, bool) {
    stamp.Add(folder);
    for (const services::FolderEntry& entry : entries) {
      stamp.Add(entry.name);
      stamp.Add(entry.is_folder ? 1 : 0);
      stamp.Add(entry.size);
      stamp.Add(entry.last_write);
    }
  });
  return stamp.Value();
}

void WatchStartMenu(StartMenuWatch& watch, const std::vector<std::string>& roots) {
  StopWatches(watch);
  std::vector<std::string> folders;
  WalkTrees(roots, [&folders](const std::string& folder, const std::vector<services::FolderEntry>&, bool listed) {
    if (listed) folders.push_back(folder);
  });
  if (folders.size() > kMaxWatchedFolders) return;
  for (const std::string& folder : folders) {
    const services::WatchHandle handle = services::WatchFolder(folder);
    if (handle == 0) {
      StopWatches(watch);
      return;
    }
    watch.watches.push_back(handle);
  }
  watch.whole = true;
}

bool StartMenuChanged(StartMenuWatch& watch) {
  bool changed = false;
  for (const services::WatchHandle handle : watch.watches) changed = services::FolderChanged(handle) || changed;
  return changed;
}

}  // namespace sources
