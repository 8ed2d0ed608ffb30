#include "sources/catalogue_find.h"

#include "platform/text.h"
#include "sources/shown_names.h"

namespace sources {

std::optional<ProgramMatch> FindInCatalogue(const Catalogue& catalogue, const std::string& lower_path) {
  std::optional<ProgramMatch> match;
  if (lower_path.empty()) return match;  // headers and unresolved entries have no target
  for (const CatalogueRecord& record : catalogue) {
    if (record.Kind != kProgramEntry || platform::LowerAscii(record.Target) != lower_path) continue;
    match = ProgramMatch{record.Name, record.Folder, record.Target, EntryLabel(record)};
    // A shortcut that starts the program plainly names it best.
    if (record.Arguments.empty()) break;
  }
  return match;
}

std::optional<ProgramMatch> FindByProgramPath(const std::string& lower_path) {
  const SharedCatalogue catalogue = TakeCurrentCatalogue();  // held to the end of the walk
  if (!catalogue) return std::nullopt;
  return FindInCatalogue(*catalogue, lower_path);
}

std::optional<std::string> LabelOfLaunchPath(const std::string& launch_path) {
  const SharedCatalogue catalogue = TakeCurrentCatalogue();
  if (!catalogue || launch_path.empty()) return std::nullopt;
  const std::string wanted = platform::LowerAscii(launch_path);
  for (const CatalogueRecord& record : *catalogue) {
    if (record.Kind == kProgramEntry && platform::LowerAscii(record.Folder + record.Name) == wanted) {
      return EntryLabel(record);
    }
  }
  return std::nullopt;
}

}  // namespace sources
