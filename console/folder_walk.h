#pragma once
// The folders a listing covers, found breadth-first before anything is listed, and put in the
// output's order.
#include <string>
#include <vector>

#include "console/system.h"

namespace console {

// The four Start-menu folders, each ending with "\", or empty when Windows cannot resolve it.
struct SpecialFolders {
  std::string common_start_menu;  // CSIDL_COMMON_STARTMENU
  std::string user_start_menu;    // CSIDL_STARTMENU
  std::string common_programs;    // CSIDL_COMMON_PROGRAMS
  std::string user_programs;      // CSIDL_PROGRAMS
};

constexpr int kCommonStartMenuCsidl = 0x16;
constexpr int kStartMenuCsidl = 0x0B;
constexpr int kCommonProgramsCsidl = 0x17;
constexpr int kProgramsCsidl = 0x02;

struct FolderRecord {
  std::string base;      // the folder the walk started from, ending with "\"
  std::string relative;  // sub-folder names below it, each followed by "\"; empty for the base
  std::string FullPath() const { return base + relative; }
};

// A loop of folder links could otherwise grow the list without end.
constexpr std::size_t kMaxFolderRecords = 100000;

// Both Programs trees (common first, then the user's) with every sub-folder, then the two
// Start-menu folders themselves without their sub-folders (the Programs trees below them are
// already covered). A folder that cannot be resolved is left out. Sorted by relative path.
std::vector<FolderRecord> WalkStartMenu(const SpecialFolders& folders, const System& system);

// The tree below one folder (ending with "\"), the folder itself first. Sorted by relative path.
std::vector<FolderRecord> WalkFolderTree(const std::string& folder, const System& system);

// Orders by relative path (FoldedLess), the base folders first; records comparing equal keep
// the order the walk found them in.
void SortByRelativePath(std::vector<FolderRecord>& records);

}  // namespace console
