// The two usage lists and the operations that change them.
#include "settings/usage_lists.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

#include "platform/location_marker.h"
#include "platform/services.h"
#include "platform/text.h"

KV_MARKED_FILE(305);

namespace settings {

namespace {

using EntryMatch = std::function<bool(const UsageEntry&)>;

// Highest key first; entries with equal keys keep their order, so a program that only just
// reached a count stays behind those that had it before.
void SortDescending(UsageList& list) {
  std::stable_sort(list.begin(), list.end(),
                   [](const UsageEntry& a, const UsageEntry& b) { return a.SortKey > b.SortKey; });
}

UsageEntry* FindFirst(UsageList& list, const EntryMatch& matches) {
  const auto found = std::find_if(list.begin(), list.end(), matches);
  return found == list.end() ? nullptr : &*found;
}

// A count read from a damaged file may already be at the top of the range: it stays there
// rather than wrapping round to the bottom of the list.
std::int32_t CountOneMore(std::int32_t count) {
  return count == std::numeric_limits<std::int32_t>::max() ? count : count + 1;
}

// The lists keep 32-bit times; the clock's low 32 bits are the time until 2038.
std::int32_t NowForList() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(services::LocalSeconds())); }

bool OpensSamePath(const UsageEntry& entry, const std::string& launch_path) {
  return !launch_path.empty() && platform::LowerAscii(entry.LaunchPath) == platform::LowerAscii(launch_path);
}

// The first entry that `matches`, else (when asked) the one opening the same path, letter case
// aside: the program's, recorded under the name it showed then. An entry opening the same path
// takes the label of now: the name a program shows may change while its shortcut stays.
UsageEntry* FindProgram(UsageList& list, const EntryMatch& matches, bool or_same_path, const std::string& label,
                        const std::string& launch_path) {
  UsageEntry* entry = FindFirst(list, matches);
  if (!entry && or_same_path) {
    entry = FindFirst(list, [&launch_path](const UsageEntry& e) { return OpensSamePath(e, launch_path); });
  }
  if (entry && OpensSamePath(*entry, launch_path)) entry->Label = label;
  return entry;
}

void RecordUse(const EntryMatch& matches, bool or_same_path, const std::string& label, const std::string& launch_path,
               const std::string& target_path) {
  if (UsageEntry* entry = FindProgram(MostUsed(), matches, or_same_path, label, launch_path)) {
    entry->SortKey = CountOneMore(entry->SortKey);
  } else {
    MostUsed().push_back({1, label, launch_path, target_path});
  }
  SortDescending(MostUsed());

  const std::int32_t now = NowForList();
  if (UsageEntry* entry = FindProgram(LastUsed(), matches, or_same_path, label, launch_path)) {
    entry->SortKey = now;
  } else {
    LastUsed().push_back({now, label, launch_path, target_path});
  }
  SortDescending(LastUsed());
}

}  // namespace

UsageList& MostUsed() {
  static UsageList list;
  return list;
}

UsageList& LastUsed() {
  static UsageList list;
  return list;
}

void RecordUseByLabel(const std::string& label, const std::string& launch_path, const std::string& target_path) {
  KV_MARK();
  RecordUse([&label](const UsageEntry& entry) { return entry.Label == label; }, true, label, launch_path, target_path);
}

void RecordUseByTarget(const std::string& label, const std::string& launch_path, const std::string& target_path,
                       const std::string& program_path) {
  KV_MARK();
  // An unknown program path must not pick the first entry that has no target.
  if (label.empty() || program_path.empty()) return;
  RecordUse([&program_path](const UsageEntry& entry) { return platform::LowerAscii(entry.TargetPath) == program_path; },
            false, label, launch_path, target_path);
}

void ClearMostUsed() { MostUsed().clear(); }
void ClearLastUsed() { LastUsed().clear(); }

void ClearWindowsRecentDocuments() {
  KV_MARK();
  services::ClearRecentDocuments();
}

}  // namespace settings
