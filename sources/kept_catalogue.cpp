#include "sources/kept_catalogue.h"

#include <cstdint>
#include <vector>

#include "platform/environment.h"
#include "platform/text.h"
#include "sources/catalogue_line.h"
#include "ui/text_file.h"

namespace sources {

namespace {

// A generous bound: 2,000 shortcuts make about 300 KB.
constexpr std::size_t kMaxKeptBytes = 8u * 1024 * 1024;

bool IsPlainNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string KeptCataloguePath() { return platform::Env().data_folder + kKeptCatalogueName; }

bool IsWholeListing(const std::string& listing) {
  if (listing.size() < 2 || listing.compare(listing.size() - 2, 2, "\r\n") != 0) return false;
  if (listing.find('\0') != std::string::npos) return false;
  std::int64_t entries_owed = -1;  // before the first header no entry may come
  for (const std::string& line : ui::SplitLines(listing)) {
    const std::vector<std::string> fields = platform::SplitFields(line, '\t');
    if (!line.empty() && line[0] == '>') {
      if (entries_owed > 0 || fields.size() != 4 || fields[0] != ">" || !IsPlainNumber(fields[1])) return false;
      entries_owed = std::stoll(fields[1]);
    } else {
      if (entries_owed <= 0 || fields.size() != 5 || fields[0].empty()) return false;
      --entries_owed;
    }
  }
  return entries_owed == 0;
}

std::optional<std::string> ReadKeptListing() {
  std::optional<std::string> listing = ui::ReadFileBytes(KeptCataloguePath(), kMaxKeptBytes);
  if (!listing || !IsWholeListing(*listing)) return std::nullopt;
  return listing;
}

Catalogue CatalogueOfListing(const std::string& listing, const std::string& htm_handler, IconCache* icons) {
  Catalogue catalogue;
  for (const std::string& line : ui::SplitLines(listing)) {
    std::optional<CatalogueRecord> record =
        icons ? ParseCatalogueLine(line, htm_handler, *icons) : ParseCatalogueLine(line, htm_handler);
    if (record) catalogue.push_back(std::move(*record));
  }
  return catalogue;
}

bool SaveKeptCatalogue(const std::string& listing) { return ui::WriteFileReplacing(KeptCataloguePath(), listing); }

}  // namespace sources
