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

void RecordUse(const EntryMatch& matches, const std::string& label, const std::string& launch_path,
               const std::string& target_path) {
  if (UsageEntry* entry = FindFirst(MostUsed(), matches)) {
    entry->SortKey = CountOneMore(entry->SortKey);
  } else {
    MostUsed().push_back({1, label, launch_path, target_path});
  }
  SortDescending(MostUsed());

  const std::int32_t now = NowForList();
  if (UsageEntry* entry = FindFirst(LastUsed(), matches)) {
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
  RecordUse([&label](const UsageEntry& entry) { return entry.Label == label; }, label, launch_path, target_path);
}

void RecordUseByTarget(const std::string& label, const std::string& launch_path, const std::string& target_path,
                       const std::string& program_path) {
  KV_MARK();
  // An unknown program path must not pick the first entry that has no target.
  if (label.empty() || program_path.empty()) return;
  RecordUse([&program_path](const UsageEntry& entry) { return platform::LowerAscii(entry.TargetPath) == program_path; },
            label, launch_path, target_path);
}

void ClearMostUsed() { MostUsed().clear(); }
void ClearLastUsed() { LastUsed().clear(); }

void ClearWindowsRecentDocuments() {
  KV_MARK();
  services::ClearRecentDocuments();
}

}  // namespace settings
