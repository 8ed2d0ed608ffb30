#include "console/folder_walk.h"

#include <algorithm>

#include "platform/location_marker.h"
#include "platform/text.h"

KV_MARKED_FILE(801);

namespace console {
namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// Appends the sub-folders of records[next..] and of everything appended meanwhile, one level at
// a time. A folder that cannot be opened adds nothing.
void WalkOn(std::vector<FolderRecord>& records, std::size_t& next, const System& system) {
  for (; next < records.size(); ++next) {
    KV_MARK();
    const FolderRecord current = records[next];  // a copy: appending may move the records
    const DirectoryListing listing = system.list_folder(current.FullPath());
    if (!listing) continue;
    for (const DirectoryEntry& entry : *listing) {
      if (!entry.is_folder || IsDotEntry(entry.name)) continue;
      if (records.size() >= kMaxFolderRecords) return;
      records.push_back({current.base, current.relative + entry.name + "\\"});
    }
  }
}

void AddBase(std::vector<FolderRecord>& records, const std::string& folder) {
  if (!folder.empty()) records.push_back({folder, ""});
}

}  // namespace

void SortByRelativePath(std::vector<FolderRecord>& records) {
  std::stable_sort(records.begin(), records.end(),
                   [](const FolderRecord& a, const FolderRecord& b) {
                     return platform::FoldedLess(a.relative, b.relative);
                   });
}

std::vector<FolderRecord> WalkStartMenu(const SpecialFolders& folders, const System& system) {
  std::vector<FolderRecord> records;
  std::size_t next = 0;
  AddBase(records, folders.common_programs);
  WalkOn(records, next, system);
  AddBase(records, folders.user_programs);
  WalkOn(records, next, system);
  AddBase(records, folders.common_start_menu);
  AddBase(records, folders.user_start_menu);
  SortByRelativePath(records);
  return records;
}

std::vector<FolderRecord> WalkFolderTree(const std::string& folder, const System& system) {
  std::vector<FolderRecord> records{{folder, ""}};
  std::size_t next = 0;
  WalkOn(records, next, system);
  SortByRelativePath(records);
  return records;
}

}  // namespace console
