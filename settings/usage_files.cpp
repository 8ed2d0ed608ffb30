// Reading and writing the two usage-list files.
#include "platform/location_marker.h"
#include "platform/text.h"
#include "settings/numbers.h"
#include "settings/unsaved_files.h"
#include "settings/usage_lists.h"
#include "ui/text_file.h"

KV_MARKED_FILE(304);

namespace settings {

namespace {

// A NUL byte ends a line as well: files damaged by a crash often hold runs of them.
bool IsLineEnd(char byte) { return byte == '\r' || byte == '\n' || byte == '\0'; }

UsageEntry EntryFromLine(const std::string& line) {
  const std::vector<std::string> fields = platform::SplitFields(line, '\t');
  auto field = [&fields](std::size_t index) { return index < fields.size() ? fields[index] : std::string(); };
  UsageEntry entry;
  entry.SortKey = ParseNumber32(field(0));
  entry.Label = field(1);
  entry.LaunchPath = field(2);
  entry.TargetPath = field(3);
  return entry;
}

void LoadList(const std::string& path, UsageList& list) {
  if (LastSaveFailed(path)) return;  // the list holds uses the file never received
  const std::optional<std::string> bytes = ui::ReadFileBytes(path);
  if (!bytes) return;  // missing or unreadable: keep what the list holds
  list = ParseUsageList(*bytes);
}

void SaveList(const std::string& path, const UsageList& list) {
  // A failed save leaves the previous file whole and says nothing; the next save tries again.
  NoteSaveResult(path, ui::WriteFileReplacing(path, FormatUsageList(list)));
}

}  // namespace

UsageList ParseUsageList(const std::string& bytes) {
  UsageList list;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = start;
    while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
    list.push_back(EntryFromLine(bytes.substr(start, end - start)));
    // CR LF is one line end; every other terminator byte ends one line on its own.
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return list;
}

std::string FormatUsageList(const UsageList& list) {
  // Sized once and appended piece by piece: the periodic save formats lists of any length, on
  // the GUI thread.
  constexpr std::size_t kSeparators = 5;  // three tabs, CR, LF
  constexpr std::size_t kLongestKey = 11;  // "-2147483648"
  std::size_t size = 0;
  for (const UsageEntry& entry : list) {
    size += kLongestKey + entry.Label.size() + entry.LaunchPath.size() + entry.TargetPath.size() + kSeparators;
  }
  std::string text;
  text.reserve(size);
  for (const UsageEntry& entry : list) {
    text += FormatNumber(entry.SortKey);
    text += '\t';
    text += entry.Label;
    text += '\t';
    text += entry.LaunchPath;
    text += '\t';
    text += entry.TargetPath;
    text += "\r\n";
  }
  return text;
}

void LoadUsageLists(const std::string& data_folder) {
  KV_MARK();
  LoadList(data_folder + kMostUsedFileName, MostUsed());
  LoadList(data_folder + kLastUsedFileName, LastUsed());
}

void SaveUsageLists(const std::string& data_folder) {
  KV_MARK();
  SaveList(data_folder + kMostUsedFileName, MostUsed());
  SaveList(data_folder + kLastUsedFileName, LastUsed());
}

}  // namespace settings
