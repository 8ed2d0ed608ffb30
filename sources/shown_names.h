#pragma once
// The names Windows shows for the catalogue's folders and shortcuts, as their folders'
// desktop.ini files state them, and the catalogue in the order of those names. The paths stay
// as they are: a row still opens Folder + Name.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sources/catalogue.h"
#include "sources/desktop_ini.h"

namespace sources {

// Where the names come from; the Windows services and files by default, fakes in tests.
struct ShownNameSources {
  // The bytes of a file, or nothing when it is missing or larger than kMaxDesktopIniBytes.
  std::function<std::optional<std::string>(const std::string& path)> read_file;
  ToCodePage to_code_page;
  // As services::ModuleStrings.
  std::function<std::vector<std::optional<std::u16string>>(const std::string& module,
                                                           const std::vector<std::uint32_t>& ids)>
      module_strings;
};

ShownNameSources SystemShownNameSources();

// The user's and the common Programs folders, each ending in "\" (or "" when unknown).
struct ProgramsFolders {
  std::string user;
  std::string common;
};
ProgramsFolders SystemProgramsFolders();

// An indirect string, "@<module>,-<number>" with an optional ";<modifier>" after the number.
struct IndirectString {
  std::string module;
  std::uint32_t id = 0;
};
std::optional<IndirectString> ParseIndirectString(const std::string& value);

// Sets every record's Shown: an entry's from its own folder's desktop.ini; a group header's, the
// name of its own folder level, from the user's folder of that relative path, else the common
// one. A value is plain text or an indirect string (resolved once per module and number for the
// whole process); an empty or unresolvable value, or a name holding control characters, leaves
// the file name. Then orders the groups among their siblings and the entries of each group by
// the names shown, as the helper orders file names (platform::FoldedLess), equal names keeping
// their order; a catalogue without any shown name keeps the helper's order as it came.
void ApplyShownNames(Catalogue& catalogue, const ProgramsFolders& folders, const ShownNameSources& sources);

// What a row shows for an entry: its shown name, else its file name without the extension.
std::string EntryLabel(const CatalogueRecord& entry);

// A group header's title text for its own folder level: its shown name, else the folder name.
std::string GroupOwnName(const CatalogueRecord& header);

// Forgets every resolved indirect string (tests).
void ForgetIndirectStrings();

}  // namespace sources
