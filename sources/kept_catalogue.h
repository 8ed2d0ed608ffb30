#pragma once
// The last catalogue kept on disk: the console helper's Start-menu listing as it last read, in
// the helper's own line format, so that the next start has the programs at once. Written only
// when the listing changed, through the atomic save of every file; read back only when it is
// whole (any doubt and it is ignored: the first refresh then makes the catalogue).
#include <optional>
#include <string>

#include "sources/catalogue.h"
#include "sources/icon_cache.h"

namespace sources {

constexpr char kKeptCatalogueName[] = "Kestrivalume.catalogue";

// Data folder + kKeptCatalogueName.
std::string KeptCataloguePath();

// True when `listing` is a whole listing: lines ended by CR LF, a group header first, headers of
// four fields whose count is a plain number equal to the entries that follow, entries of five
// fields, no NUL, at least one header.
bool IsWholeListing(const std::string& listing);

// The kept listing; nothing when the file is missing, too large or not whole.
std::optional<std::string> ReadKeptListing();

// The catalogue of a listing, parsed as a refresh parses the helper's lines, with icons from
// `icons`, or none when it is null (asking the shell for thousands of icons takes seconds).
Catalogue CatalogueOfListing(const std::string& listing, const std::string& htm_handler, IconCache* icons);

// Replaces the kept listing; false when it could not be written (the old file then stays).
bool SaveKeptCatalogue(const std::string& listing);

}  // namespace sources
