// The most-used and last-used sections: the usage lists, largest sort key first, without the
// entries whose file is gone (they leave the list for good; one on a network share is kept).
#include <cstdio>

#include "menu/sections.h"
#include "platform/calendar.h"
#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "settings/usage_lists.h"
#include "sources/icon_cache.h"

namespace menu {

namespace {

enum class UsageKind { MostUsed, LastUsed };

// What the entry really opens: a shortcut's target, the web browser for an Internet shortcut.
std::string TargetOf(const settings::UsageEntry& entry) {
  const std::string extension = platform::LowerExtension(entry.LaunchPath);
  if (extension == "lnk") return entry.TargetPath;
  if (extension == "url") return platform::HtmHandler();
  return entry.LaunchPath;
}

// A file on a network share is not looked at while the menu opens: a server that is away keeps
// the question waiting for seconds. A click on it reports it when it is gone.
bool OnNetwork(const std::string& path) { return platform::IsNetworkPath(path, services::IsNetworkDrive); }

// A program's own icon is read from its file; one on the network shows its type's icon instead.
services::IconHandle IconOf(const std::string& target) {
  const std::string extension = platform::LowerExtension(target);
  if ((extension == "exe" || extension == "msc") && !OnNetwork(target)) return sources::FileIcon(target);
  if (!extension.empty()) return sources::ExtensionIcon(extension);
  return 0;
}

bool StillThere(const std::string& launch_path) {
  return OnNetwork(launch_path) || services::KindOfPath(launch_path) == services::PathKind::File;
}

std::string DateText(std::int32_t seconds) {
  const platform::DateTime date = platform::DateTimeFromSeconds(seconds);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld/%02d/%02d %02d:%02d:%02d", static_cast<long long>(date.year), date.month,
                date.day, date.hour, date.minute, date.second);
  return text;
}

EntryRow RowOf(const settings::UsageEntry& entry, UsageKind kind) {
  EntryRow row;
  const std::string target = TargetOf(entry);
  row.icon = IconOf(target);
  row.text = entry.Label;
  const std::string key = kind == UsageKind::MostUsed ? std::to_string(entry.SortKey) : DateText(entry.SortKey);
  row.tooltip = entry.Label + " [" + target + "] (" + key + ")";
  row.binding.LaunchPath = entry.LaunchPath;
  row.binding.TargetPath = target;
  row.binding.CountsAsUse = 1;
  return row;
}

void BuildUsageSection(LayoutCursor& cursor, settings::UsageList& list, std::int32_t maximum, const char* title,
                       UsageKind kind) {
  if (cursor.Y + maximum * kRowHeight + 26 > cursor.Bottom) {
    StartNewColumn(cursor);
  } else {
    cursor.Y = cursor.SectionsShown > 0 ? cursor.Y + kSectionGap : kTop;
  }
  SectionFrame(cursor, title);
  std::size_t position = 0;
  while (position < list.size()) {
    if (!StillThere(list[position].LaunchPath)) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
      continue;
    }
    if (static_cast<std::int64_t>(position) > static_cast<std::int64_t>(maximum) - 1) break;
    AddEntryRow(cursor, RowOf(list[position], kind));
    ++position;
  }
  cursor.SectionsShown += 1;
}

}  // namespace

void BuildMostUsed(LayoutCursor& cursor) {
  BuildUsageSection(cursor, settings::MostUsed(), settings::Current().MostUsedMaximum, "Les plus utilisés",
                    UsageKind::MostUsed);
}

void BuildLastUsed(LayoutCursor& cursor) {
  BuildUsageSection(cursor, settings::LastUsed(), settings::Current().LastUsedMaximum, "Les derniers utilisés",
                    UsageKind::LastUsed);
}

}  // namespace menu
