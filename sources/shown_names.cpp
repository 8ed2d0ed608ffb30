#include "sources/shown_names.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "platform/location_marker.h"
#include "platform/services.h"
#include "platform/text.h"
#include "ui/text_file.h"

KV_MARKED_FILE(404);

namespace sources {

namespace {

constexpr char kDesktopIni[] = "desktop.ini";

// A name goes into rows, tooltips and the usage lists' TAB-separated lines: a control character
// would break them.
bool IsUsableName(const std::string& name) {
  if (name.empty()) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

using IndirectKey = std::pair<std::string, std::uint32_t>;  // module in lower case, string number

IndirectKey KeyOf(const IndirectString& indirect) { return {platform::LowerAscii(indirect.module), indirect.id}; }

// Every indirect string resolved since the start, nothing where it could not be: the refreshes
// run on their own threads, one at a time, and tests forget them.
struct IndirectCache {
  std::mutex lock;
  std::map<IndirectKey, std::optional<std::string>> names;
};

IndirectCache& Cache() {
  static IndirectCache cache;
  return cache;
}

// What one pass reads once: each folder's desktop.ini (nothing where there is none, or it is
// not text).
struct Pass {
  const ShownNameSources& sources;
  std::map<std::string, std::optional<DesktopIni>> files;
};

const DesktopIni* IniOf(Pass& pass, const std::string& folder) {
  auto [found, added] = pass.files.try_emplace(folder);
  if (added) {
    if (std::optional<std::string> bytes = pass.sources.read_file(folder + kDesktopIni)) {
      found->second = ParseDesktopIni(*bytes, pass.sources.to_code_page);
    }
  }
  return found->second ? &*found->second : nullptr;
}

// The values that may name a record, the first usable one winning.
std::vector<std::string> Candidates(Pass& pass, const CatalogueRecord& record, const ProgramsFolders& folders) {
  std::vector<std::string> values;
  if (record.Kind == kProgramEntry) {
    if (const DesktopIni* ini = IniOf(pass, record.Folder)) {
      if (std::optional<std::string> value = ShownFileName(*ini, record.Name)) values.push_back(*value);
    }
    return values;
  }
  if (record.Name.empty()) return values;  // the top group has no title
  // Both folders of the group, the user's first; the helper names only the one it listed last.
  std::vector<std::string> group_folders;
  for (const std::string* base : {&folders.user, &folders.common}) {
    if (!base->empty()) group_folders.push_back(*base + record.Name);
  }
  if (std::find(group_folders.begin(), group_folders.end(), record.Folder) == group_folders.end()) {
    group_folders.push_back(record.Folder);
  }
  for (const std::string& folder : group_folders) {
    const DesktopIni* ini = IniOf(pass, folder);
    if (ini && !ini->folder_name.empty()) values.push_back(ini->folder_name);
  }
  return values;
}

// Asks each module once for every number of it not resolved before.
void ResolveNew(const std::vector<std::vector<std::string>>& candidates, const ShownNameSources& sources) {
  std::map<std::string, std::vector<std::uint32_t>> wanted;  // module as first written, numbers
  std::map<std::string, std::string> written;                // module in lower case, as written
  {
    std::lock_guard<std::mutex> guard(Cache().lock);
    for (const std::vector<std::string>& values : candidates) {
      for (const std::string& value : values) {
        const std::optional<IndirectString> indirect = ParseIndirectString(value);
        if (!indirect) continue;
        const IndirectKey key = KeyOf(*indirect);
        if (Cache().names.count(key)) continue;
        Cache().names[key];  // asked once, even when it appears again
        const std::string& module = written.try_emplace(key.first, indirect->module).first->second;
        wanted[module].push_back(indirect->id);
      }
    }
  }
  // The modules are read outside the lock: the reading may take a while.
  for (const auto& [module, ids] : wanted) {
    const std::vector<std::optional<std::u16string>> strings = sources.module_strings(module, ids);
    std::lock_guard<std::mutex> guard(Cache().lock);
    for (std::size_t i = 0; i < ids.size(); ++i) {
      std::optional<std::string> name;
      if (i < strings.size() && strings[i]) name = sources.to_code_page(*strings[i]);
      Cache().names[{platform::LowerAscii(module), ids[i]}] = name;
    }
  }
}

std::optional<std::string> Resolved(const std::string& value) {
  std::optional<std::string> name;
  if (value.empty() || value[0] != '@') {
    name = value;
  } else if (const std::optional<IndirectString> indirect = ParseIndirectString(value)) {
    std::lock_guard<std::mutex> guard(Cache().lock);
    const auto found = Cache().names.find(KeyOf(*indirect));
    if (found != Cache().names.end()) name = found->second;
  }
  if (!name || !IsUsableName(*name)) return std::nullopt;
  return name;
}

std::string FirstResolved(const std::vector<std::string>& values) {
  for (const std::string& value : values) {
    if (std::optional<std::string> name = Resolved(value)) return *name;
  }
  return std::string();
}

// A group's place among the groups: its relative path with every level's shown name in place
// of the folder name, so that without shown names it is the relative path itself.
std::string GroupKey(const std::string& relative, const std::map<std::string, std::string>& shown_levels) {
  const std::vector<std::string> fields = platform::SplitFields(relative, '\\');
  std::string key, prefix;
  for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
    prefix += fields[i] + "\\";
    const auto shown = shown_levels.find(prefix);
    key += (shown != shown_levels.end() && !shown->second.empty() ? shown->second : fields[i]) + "\\";
  }
  return key + fields.back();
}

// An entry's place in its group: its file name with the shown name in place of what the row cuts.
std::string EntryKey(const CatalogueRecord& entry) {
  if (entry.Shown.empty()) return entry.Name;
  return entry.Shown + (entry.Name.size() > 4 ? entry.Name.substr(entry.Name.size() - 4) : std::string());
}

struct GroupSpan {
  std::size_t begin = 0, end = 0;  // records [begin, end); a header first, unless before any header
  std::string key;
};

void OrderByShownNames(Catalogue& catalogue) {
  std::map<std::string, std::string> shown_levels;  // relative path, its own level's shown name
  for (const CatalogueRecord& record : catalogue) {
    if (record.Kind == kGroupHeader) shown_levels.try_emplace(record.Name, record.Shown);
  }
  std::vector<GroupSpan> groups;
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    if (groups.empty() || catalogue[i].Kind == kGroupHeader) {
      const bool header = catalogue[i].Kind == kGroupHeader;
      groups.push_back({i, i, header ? GroupKey(catalogue[i].Name, shown_levels) : std::string()});
    }
    groups.back().end = i + 1;
  }
  for (const GroupSpan& group : groups) {
    const auto first_entry = catalogue.begin() + static_cast<std::ptrdiff_t>(group.begin) +
                             (catalogue[group.begin].Kind == kGroupHeader ? 1 : 0);
    std::stable_sort(first_entry, catalogue.begin() + static_cast<std::ptrdiff_t>(group.end),
                     [](const CatalogueRecord& a, const CatalogueRecord& b) {
                       return platform::FoldedLess(EntryKey(a), EntryKey(b));
                     });
  }
  std::stable_sort(groups.begin(), groups.end(),
                   [](const GroupSpan& a, const GroupSpan& b) { return platform::FoldedLess(a.key, b.key); });
  Catalogue ordered;
  ordered.reserve(catalogue.size());
  for (const GroupSpan& group : groups) {
    for (std::size_t i = group.begin; i < group.end; ++i) ordered.push_back(std::move(catalogue[i]));
  }
  catalogue = std::move(ordered);
}

}  // namespace

ShownNameSources SystemShownNameSources() {
  return {[](const std::string& path) { return ui::ReadFileBytes(path, kMaxDesktopIniBytes); },
          services::ToSystemCodePage, services::ModuleStrings};
}

ProgramsFolders SystemProgramsFolders() {
  return {services::SpecialFolder(services::kFolderPrograms), services::SpecialFolder(services::kFolderCommonPrograms)};
}

std::optional<IndirectString> ParseIndirectString(const std::string& value) {
  if (value.size() < 2 || value[0] != '@') return std::nullopt;
  const std::string text = value.substr(0, value.find(';'));  // "@module,-12;v2": the modifier names no other string
  const std::size_t comma = text.rfind(',');
  if (comma == std::string::npos || comma < 2 || comma + 2 >= text.size() || text[comma + 1] != '-')
    return std::nullopt;
  std::uint32_t id = 0;
  for (std::size_t i = comma + 2; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9' || id > 0xFFFF) return std::nullopt;
    id = id * 10 + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (id == 0 || id > 0xFFFF) return std::nullopt;  // string numbers are 1 to 65535
  return IndirectString{text.substr(1, comma - 1), id};
}

void ApplyShownNames(Catalogue& catalogue, const ProgramsFolders& folders, const ShownNameSources& sources) {
  KV_MARK();
  Pass pass{sources, {}};
  std::vector<std::vector<std::string>> candidates;
  candidates.reserve(catalogue.size());
  for (const CatalogueRecord& record : catalogue) candidates.push_back(Candidates(pass, record, folders));
  ResolveNew(candidates, sources);
  bool any_shown = false;
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    catalogue[i].Shown = FirstResolved(candidates[i]);
    any_shown = any_shown || !catalogue[i].Shown.empty();
  }
  // Without a shown name the helper's order stands as it came.
  if (any_shown) OrderByShownNames(catalogue);
}

std::string EntryLabel(const CatalogueRecord& entry) {
  if (!entry.Shown.empty()) return entry.Shown;
  return entry.Name.size() > 4 ? entry.Name.substr(0, entry.Name.size() - 4) : std::string();
}

std::string GroupOwnName(const CatalogueRecord& header) {
  if (!header.Shown.empty()) return header.Shown;
  // The folder before the last "\\": the group's own level.
  const std::vector<std::string> fields = platform::SplitFields(header.Name, '\\');
  return fields.size() >= 2 ? fields[fields.size() - 2] : std::string();
}

void ForgetIndirectStrings() {
  std::lock_guard<std::mutex> guard(Cache().lock);
  Cache().names.clear();
}

}  // namespace sources
