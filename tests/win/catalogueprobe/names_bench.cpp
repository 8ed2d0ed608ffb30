// The cost of the shown names alone: the kept catalogue of a data folder named as a refresh
// names it before publishing (every folder's desktop.ini read, indirect strings resolved).
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/environment.h"
#include "sources/kept_catalogue.h"
#include "sources/shown_names.h"
#include "tests/win/catalogueprobe/probe.h"

namespace probe {
namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds to name a fresh copy of the catalogue; `shown` counts the records given a name.
double NameOnce(const sources::Catalogue& listed, const sources::ProgramsFolders& folders, std::size_t* shown) {
  sources::Catalogue catalogue = listed;
  const double start = Now();
  sources::ApplyShownNames(catalogue, folders, sources::SystemShownNameSources());
  const double took = Now() - start;
  *shown = 0;
  for (const sources::CatalogueRecord& record : catalogue) *shown += record.Shown.empty() ? 0 : 1;
  return took;
}

}  // namespace

int BenchNames(const std::string& data_folder) {
  platform::MutableEnv().data_folder = data_folder.empty() || data_folder.back() == '\\' ? data_folder : data_folder + "\\";
  const std::optional<std::string> kept = sources::ReadKeptListing();
  if (!kept) {
    std::fprintf(stderr, "catalogueprobe: no kept catalogue in %s\n", data_folder.c_str());
    return 1;
  }
  const sources::Catalogue listed = sources::CatalogueOfListing(*kept, "", nullptr);
  const sources::ProgramsFolders folders = sources::SystemProgramsFolders();
  std::size_t shown = 0;
  // The first pass reads the modules; the indirect strings are then known for the process.
  const double first = NameOnce(listed, folders, &shown);
  double best = 1e9, total = 0;
  const int runs = 10;
  for (int run = 0; run < runs; ++run) {
    const double took = NameOnce(listed, folders, &shown);
    total += took;
    if (took < best) best = took;
  }
  std::printf("records %u shown %u first %.1f best %.1f mean %.1f\n", static_cast<unsigned>(listed.size()),
              static_cast<unsigned>(shown), first, best, total / runs);
  return 0;
}

}  // namespace probe
