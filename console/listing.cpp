#include "console/listing.h"

#include <algorithm>

#include "console/entry.h"
#include "console/output_protocol.h"
#include "platform/location_marker.h"
#include "platform/paths.h"
#include "platform/text.h"

KV_MARKED_FILE(802);

namespace console {
namespace {

// Adds the listed files of one folder to `entries`; false when the folder cannot be opened.
bool ScanFolder(const std::string& folder, const System& system, Throttle& throttle, std::vector<Entry>& entries) {
  KV_MARK();
  const DirectoryListing listing = system.list_folder(folder);
  if (!listing) return false;
  for (const DirectoryEntry& item : *listing) {
    throttle.BeforeEntry();
    if (item.is_folder) continue;  // ".", ".." and sub-folders have groups of their own
    KV_MARK();
    if (std::optional<Entry> entry = ResolveFile(folder, item.name, system)) entries.push_back(std::move(*entry));
  }
  return true;
}

void WriteLine(const std::string& line, const System& system, Throttle& throttle) {
  system.write_line(line);
  throttle.LineWritten();
}

void WriteGroup(const FolderRecord& scanned_last, std::vector<Entry>& entries, const System& system,
                Throttle& throttle) {
  KV_MARK();
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return platform::FoldedLess(a.name, b.name); });
  WriteLine(HeaderLine(entries.size(), scanned_last.relative, scanned_last.FullPath()), system, throttle);
  for (const Entry& entry : entries) WriteLine(EntryLine(entry), system, throttle);
}

}  // namespace

void Throttle::BeforeEntry() {
  if (paced_ && system_.now_ms() - last_line_ms_ < kPauseBudgetMs) system_.pause();
}

// Folders with exactly the same relative path (letter case included) share a group; if one of
// them cannot be opened the whole group is left out, and the next folder starts a new one.
void ListFolders(const std::vector<FolderRecord>& folders, const System& system, Throttle& throttle) {
  for (std::size_t i = 0; i < folders.size(); ++i) {
    std::vector<Entry> entries;
    bool opened = ScanFolder(folders[i].FullPath(), system, throttle, entries);
    while (opened && i + 1 < folders.size() && folders[i + 1].relative == folders[i].relative) {
      ++i;
      opened = ScanFolder(folders[i].FullPath(), system, throttle, entries);
    }
    if (opened) WriteGroup(folders[i], entries, system, throttle);
  }
}

void ListSingleFile(const std::string& path, const System& system) {
  KV_MARK();
  if (std::optional<Entry> entry = ResolveFile(platform::FolderPart(path), platform::FileNamePart(path), system)) {
    system.write_line(EntryLine(*entry));
  }
}

void Run(const Invocation& invocation, const SpecialFolders& folders, const System& system) {
  KV_MARK();
  Throttle throttle(system, invocation.paced);  // counts the walk too: nothing is written while it runs
  switch (invocation.mode) {
    case Mode::StartMenu:
      ListFolders(WalkStartMenu(folders, system), system, throttle);
      break;
    case Mode::EinzelVerzeichnis:
      ListFolders(WalkFolderTree(invocation.path, system), system, throttle);
      break;
    case Mode::EinzelDatei:
      ListSingleFile(invocation.path, system);
      break;
    case Mode::None:
      break;
  }
}

}  // namespace console
