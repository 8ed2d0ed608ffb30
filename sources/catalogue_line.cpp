#include "sources/catalogue_line.h"

#include <limits>
#include <vector>

#include "platform/text.h"

namespace sources {

namespace {

constexpr char kInternetShortcutTarget[] = "iexplore.exe";

std::string Field(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : std::string();
}

CatalogueRecord GroupHeader(const std::vector<std::string>& fields) {
  CatalogueRecord header;
  header.Kind = kGroupHeader;
  header.Count = ParseCount(Field(fields, 1));
  header.Name = Field(fields, 2);
  header.Folder = Field(fields, 3);
  return header;
}

services::IconHandle EntryIcon(const CatalogueRecord& entry, sources::IconCache& icons) {
  // Programs show their own icon, everything else the icon of its type.
  if (entry.TargetExtension == "exe" || entry.TargetExtension == "msc") return sources::FileIcon(icons, entry.Target);
  if (!entry.TargetExtension.empty()) return sources::ExtensionIcon(icons, entry.TargetExtension);
  return 0;
}

CatalogueRecord ProgramEntry(const std::vector<std::string>& fields, const std::string& htm_handler,
                             sources::IconCache* icons) {
  CatalogueRecord entry;
  entry.Kind = kProgramEntry;
  entry.Name = Field(fields, 0);
  entry.Folder = Field(fields, 1);
  entry.Target = Field(fields, 2);
  entry.TargetExtension = platform::LowerAscii(Field(fields, 3));
  entry.Arguments = Field(fields, 4);
  // The helper names no browser for Internet shortcuts; they open with the one registered for web pages.
  if (entry.TargetExtension == "htm" && entry.Target == kInternetShortcutTarget) entry.Target = htm_handler;
  if (icons) entry.Icon = EntryIcon(entry, *icons);
  return entry;
}

std::optional<CatalogueRecord> ParseLine(const std::string& line, const std::string& htm_handler,
                                         sources::IconCache* icons) {
  const std::vector<std::string> fields = platform::SplitFields(line, '\t');
  if (!line.empty() && line[0] == '>') return GroupHeader(fields);
  if (fields[0].empty()) return std::nullopt;
  return ProgramEntry(fields, htm_handler, icons);
}

}  // namespace

std::int32_t ParseCount(const std::string& text) {
  std::size_t at = text.find_first_not_of(' ');
  if (at == std::string::npos) return 0;
  const bool negative = text[at] == '-';
  if (text[at] == '-' || text[at] == '+') ++at;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > limit) value = limit;  // saturate instead of overflowing
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<CatalogueRecord> ParseCatalogueLine(const std::string& line, const std::string& htm_handler,
                                                  sources::IconCache& icons) {
  return ParseLine(line, htm_handler, &icons);
}

std::optional<CatalogueRecord> ParseCatalogueLine(const std::string& line, const std::string& htm_handler) {
  return ParseLine(line, htm_handler, nullptr);
}

void MatchGroupCounts(Catalogue& catalogue) {
  CatalogueRecord* header = nullptr;
  for (CatalogueRecord& record : catalogue) {
    if (record.Kind == kGroupHeader) {
      header = &record;
      header->Count = 0;
    } else if (header) {
      ++header->Count;
    }
  }
}

}  // namespace sources
