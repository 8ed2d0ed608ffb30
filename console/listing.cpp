#include "console/listing.h"

#include <algorithm>

#include "console/entry.h"
#include "console/folded_order.h"
#include "console/output_lines.h"
#include "shell/location_marker.h"

namespace console {
namespace {

// Adds the listed files of one folder to `entries`; false when the folder cannot be opened.
bool ScanFolder(const std::string& folder, const Platform& platform, Throttle& throttle, std::vector<Entry>& entries) {
  KV_MARK();
  const DirectoryListing listing = platform.list_folder(folder);
  if (!listing) return false;
  for (const DirectoryEntry& item : *listing) {
    throttle.BeforeEntry();
    if (item.is_folder) continue;  // ".", ".." and sub-folders have groups of their own
    KV_MARK();
    if (std::optional<Entry> entry = ResolveFile(folder, item.name, platform)) entries.push_back(std::move(*entry));
  }
  return true;
}

void WriteLine(const std::string& line, const Platform& platform, Throttle& throttle) {
  platform.write_line(line);
  throttle.LineWritten();
}

void WriteGroup(const FolderRecord& scanned_last, std::vector<Entry>& entries, const Platform& platform,
                Throttle& throttle) {
  KV_MARK();
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return FoldedLess(a.name, b.name); });
  WriteLine(HeaderLine(entries.size(), scanned_last.relative, scanned_last.FullPath()), platform, throttle);
  for (const Entry& entry : entries) WriteLine(EntryLine(entry), platform, throttle);
}

}  // namespace

void Throttle::BeforeEntry() {
  if (platform_.now_ms() - last_line_ms_ < kPauseBudgetMs) platform_.pause();
}

// Folders with exactly the same relative path (letter case included) share a group; if one of
// them cannot be opened the whole group is left out, and the next folder starts a new one.
void ListFolders(const std::vector<FolderRecord>& folders, const Platform& platform, Throttle& throttle) {
  for (std::size_t i = 0; i < folders.size(); ++i) {
    std::vector<Entry> entries;
    bool opened = ScanFolder(folders[i].FullPath(), platform, throttle, entries);
    while (opened && i + 1 < folders.size() && folders[i + 1].relative == folders[i].relative) {
      ++i;
      opened = ScanFolder(folders[i].FullPath(), platform, throttle, entries);
    }
    if (opened) WriteGroup(folders[i], entries, platform, throttle);
  }
}

void ListSingleFile(const std::string& path, const Platform& platform) {
  KV_MARK();
  const SplitPath split = SplitAtLastSeparator(path);
  if (std::optional<Entry> entry = ResolveFile(split.folder, split.name, platform)) {
    platform.write_line(EntryLine(*entry));
  }
}

void Run(const Invocation& invocation, const SpecialFolders& folders, const Platform& platform) {
  KV_MARK();
  Throttle throttle(platform);  // counts the walk too: nothing is written while it runs
  switch (invocation.mode) {
    case Mode::StartMenu:
      ListFolders(WalkStartMenu(folders, platform), platform, throttle);
      break;
    case Mode::EinzelVerzeichnis:
      ListFolders(WalkFolderTree(invocation.path, platform), platform, throttle);
      break;
    case Mode::EinzelDatei:
      ListSingleFile(invocation.path, platform);
      break;
    case Mode::None:
      break;
  }
}

}  // namespace console
