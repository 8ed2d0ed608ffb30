#pragma once
// The user's program history: how often each program was used (MostUsed) and when it was last
// used (LastUsed). Both lists live for the whole process, are read and written with the
// settings, and are changed by the two record operations and by emptying.
#include <cstdint>
#include <string>
#include <vector>

namespace settings {

struct UsageEntry {
  std::int32_t SortKey = 0;  // use count (MostUsed) or LocalSeconds of the last use (LastUsed)
  std::string Label;         // display name
  std::string LaunchPath;    // what the menu opens, normally a shortcut
  std::string TargetPath;    // what the shortcut points to; may be empty
};

// Ordered by SortKey, highest first; no size limit.
using UsageList = std::vector<UsageEntry>;

UsageList& MostUsed();
UsageList& LastUsed();

constexpr char kMostUsedFileName[] = "Kestrivalume.mostused";
constexpr char kLastUsedFileName[] = "Kestrivalume.lastused";

// --- files (data_folder ends with the path separator) ---
// Reads both files, MostUsed first. A file that cannot be read leaves its list unchanged, and
// so does one whose last save failed (the list is newer than the file).
void LoadUsageLists(const std::string& data_folder);
// Writes both files, MostUsed first. A file that cannot be written is skipped silently.
void SaveUsageLists(const std::string& data_folder);

// One line per entry: SortKey, Label, LaunchPath, TargetPath separated by TAB. Lines end at
// CR LF, a lone CR, a lone LF or a NUL byte; missing fields are empty; order is kept.
UsageList ParseUsageList(const std::string& bytes);
// Every entry as its line, each ending in CR LF; an empty list gives "".
std::string FormatUsageList(const UsageList& list);

// --- recording a use ---
// An entry found that opens the same launch path (letter case aside) takes the new label: the
// name a program shows may change while its shortcut stays.
// A program started from the menu window: entries are found by their exact label, else by the
// launch path (the program recorded under the name it showed before).
void RecordUseByLabel(const std::string& label, const std::string& launch_path, const std::string& target_path);
// A newly running program found by the window scan: entries are found by their target path,
// compared in lower case with program_path (already lower case). Nothing is recorded for an
// empty label or an empty program path.
void RecordUseByTarget(const std::string& label, const std::string& launch_path, const std::string& target_path,
                       const std::string& program_path);

// --- emptying (settings window) ---
void ClearMostUsed();
void ClearLastUsed();
// Clears Windows' own list of recently used documents.
void ClearWindowsRecentDocuments();

}  // namespace settings
