#pragma once
// Whether the Start menu changed since the last listing, at the least cost while it did not: the
// system watches every folder of the user's and the common Start-menu trees, one watch a folder
// (a watch of a whole tree does not report changes below its top everywhere: not under Wine, for
// one). Where a folder cannot be watched, a stamp of both trees stands in: every folder's and
// file's name, size and time of last change, taken with one directory walk.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/services.h"

namespace sources {

// The user's and the common Start-menu folders.
std::vector<std::string> StartMenuRoots();

// Walks stop after this many entries and this deep: a loop of links cannot hold them.
constexpr std::size_t kMaxStampEntries = 200000;
constexpr int kMaxStampDepth = 32;
// More folders than this are not watched one by one: the stamp is taken instead.
constexpr std::size_t kMaxWatchedFolders = 2000;

// The stamp of the trees below `roots` (folder paths ending in "\"; "" is skipped).
std::uint64_t StartMenuStamp(const std::vector<std::string>& roots);

struct StartMenuWatch {
  std::vector<services::WatchHandle> watches;
  bool whole = false;  // every folder is watched: no stamp is needed
};

// Ends the old watches and watches every folder below `roots` (the roots included).
void WatchStartMenu(StartMenuWatch& watch, const std::vector<std::string>& roots);

// True when a watched folder changed. Every watch is asked, so a change is told once.
bool StartMenuChanged(StartMenuWatch& watch);

}  // namespace sources
