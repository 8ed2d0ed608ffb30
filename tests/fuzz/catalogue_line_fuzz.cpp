// The console helper's output of any bytes, arriving in pieces of any size: the lines do not
// depend on how the stream was cut, and the catalogue made of them keeps its group counts true.
// The same bytes as a kept listing on disk: taken only when whole, and then every line is a
// record and every header's count is true as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sources/catalogue_line.h"
#include "sources/icon_cache.h"
#include "sources/kept_catalogue.h"
#include "sources/output_lines.h"
#include "tests/fakes/fakes.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<std::string> LinesOf(const std::vector<std::string>& pieces) {
  std::vector<std::string> lines;
  sources::OutputLines output([&lines](const std::string& line) { lines.push_back(line); });
  for (const std::string& piece : pieces) output.Add(piece);
  return lines;
}

void CheckGroupCounts(const sources::Catalogue& catalogue) {
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    if (catalogue[i].Kind != sources::kGroupHeader) continue;
    std::int32_t entries = 0;
    for (std::size_t j = i + 1; j < catalogue.size() && catalogue[j].Kind == sources::kProgramEntry; ++j) ++entries;
    Check(catalogue[i].Count == entries);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fakes::Reset();
  FuzzedDataProvider provider(data, size);
  const std::size_t cut_seed = provider.ConsumeIntegral<std::uint16_t>();
  const std::string stream = provider.ConsumeRemainingBytesAsString();

  // The same stream whole and in pieces of 1 to 64 bytes.
  std::vector<std::string> pieces;
  for (std::size_t at = 0, step = 0; at < stream.size(); at += step) {
    step = 1 + (cut_seed + at * 7) % 64;
    pieces.push_back(stream.substr(at, step));
  }
  const std::vector<std::string> lines = LinesOf({stream});
  Check(LinesOf(pieces) == lines);

  sources::IconCache icons;
  sources::Catalogue catalogue;
  for (const std::string& line : lines) {
    Check(line.size() <= sources::OutputLines::kMaxLineLength);
    if (auto record = sources::ParseCatalogueLine(line, "C:\\Web\\browser.exe", icons)) {
      catalogue.push_back(std::move(*record));
    }
  }
  sources::MatchGroupCounts(catalogue);
  CheckGroupCounts(catalogue);

  if (sources::IsWholeListing(stream)) {
    const sources::Catalogue kept = sources::CatalogueOfListing(stream, "C:\\Web\\browser.exe", nullptr);
    Check(kept.size() == lines.size());
    CheckGroupCounts(kept);
  }
  return 0;
}
