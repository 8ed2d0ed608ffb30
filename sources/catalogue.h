#pragma once
// The Start-menu catalogue: the user's Start-menu programs grouped by folder, in the order the
// menu shows them. Two catalogues alternate: a refresh fills the one that is not current and
// publishes it whole. A published catalogue is never changed again; a reader takes the current
// one once and keeps it alive for as long as it walks it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace sources {

struct CatalogueRecord {
  std::uint8_t Kind = 0;         // kGroupHeader or kProgramEntry
  std::string Name;              // header: relative path of the group ("" = top); entry: shortcut file name
  std::int32_t Count = 0;        // header: number of entries that follow in the group; entry: 0
  std::string Folder;            // full folder path, ending in "\"
  std::string Target;            // entry: what the shortcut points to
  std::string TargetExtension;   // entry: lower case, no dot
  std::string Arguments;         // entry: the shortcut's command-line arguments
  services::IconHandle Icon = 0; // entry: borrowed from the icon cache, or 0
  std::string Shown;             // the name Windows shows in place of the file name (header: of its own
                                 // folder level), from the folder's desktop.ini; "" when there is none
};

constexpr std::uint8_t kGroupHeader = 0;
constexpr std::uint8_t kProgramEntry = 1;

using Catalogue = std::vector<CatalogueRecord>;
using SharedCatalogue = std::shared_ptr<const Catalogue>;

// Which catalogue is current: 0 none yet, 1 CatalogueB, 2 CatalogueA.
std::int32_t CurrentCatalogue();

// The current catalogue, or null while there is none. Take it once per walk.
SharedCatalogue TakeCurrentCatalogue();

// The two alternating catalogues (empty until a refresh filled them).
SharedCatalogue CatalogueA();
SharedCatalogue CatalogueB();

// Puts `filled` in place of the catalogue that is not current and makes it current, in one
// atomic step. A catalogue without records is not published (false). Called by one refresh at
// a time.
bool PublishCatalogue(Catalogue filled);

// Back to the state of start-up: no catalogue.
void ResetCatalogues();

}  // namespace sources
