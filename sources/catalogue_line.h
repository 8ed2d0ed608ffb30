#pragma once
// One line of the console helper's Start-menu listing turned into a catalogue record.
//   group header:  ">" TAB count TAB relative path TAB folder
//   program entry: file name TAB folder TAB target TAB target extension TAB arguments
#include <cstdint>
#include <optional>
#include <string>

#include "sources/catalogue.h"
#include "sources/icon_cache.h"

namespace sources {

// Decimal value: leading blanks skipped, an optional sign, digits up to the first non-digit;
// 0 without digits. Values beyond 32 bits stop at the nearest limit.
std::int32_t ParseCount(const std::string& text);

// The record of one line; a missing field reads as empty. A .url entry (target "iexplore.exe",
// extension "htm") opens with `htm_handler`. Entries get their icon from `icons`. Nothing for
// a line that names no file (an empty line, for one).
std::optional<CatalogueRecord> ParseCatalogueLine(const std::string& line, const std::string& htm_handler,
                                                  sources::IconCache& icons);
// The same without icons.
std::optional<CatalogueRecord> ParseCatalogueLine(const std::string& line, const std::string& htm_handler);

// Makes each group header's Count the number of entries that follow it. A listing cut off by a
// stall promises entries in its last header that never came; readers may rely on the count.
void MatchGroupCounts(Catalogue& catalogue);

}  // namespace sources
