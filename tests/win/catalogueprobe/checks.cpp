// The background thread's settings, the small-icon lookups and the parsing benchmark.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "platform/services.h"
#include "sources/catalogue_line.h"
#include "sources/icon_cache.h"
#include "tests/win/catalogueprobe/probe.h"

namespace probe {
namespace {

int g_priority = 0;
bool g_com_ready = false;

void RecordThreadState() {
  g_priority = GetThreadPriority(GetCurrentThread());
  // S_FALSE: COM was initialised on this thread already.
  const HRESULT again = CoInitialize(nullptr);
  g_com_ready = again == S_FALSE;
  if (SUCCEEDED(again)) CoUninitialize();
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A listing like the helper's: groups of 20 entries over 40 programs and 10 document types.
std::vector<std::string> SyntheticListing(int lines) {
  std::vector<std::string> listing;
  for (int i = 0; static_cast<int>(listing.size()) < lines; ++i) {
    if (i % 20 == 0) {
      listing.push_back(">\t20\tGroupe " + std::to_string(i / 20) + "\\\tC:\\Menu\\Groupe\\");
      continue;
    }
    const bool program = i % 3 != 0;
    const std::string target = program ? "C:\\windows\\prog" + std::to_string(i % 40) + ".exe"
                                       : "C:\\doc\\d" + std::to_string(i) + ".t" + std::to_string(i % 10);
    listing.push_back("Entree " + std::to_string(i) + ".lnk\tC:\\Menu\\Groupe\\\t" + target + "\t" +
                      (program ? "exe" : "t" + std::to_string(i % 10)) + "\t");
  }
  return listing;
}

double ParseAll(const std::vector<std::string>& listing, sources::IconCache& icons, std::size_t* records) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  sources::Catalogue catalogue;
  for (const std::string& line : listing) {
    if (auto record = sources::ParseCatalogueLine(line, "C:\\Web\\browser.exe", icons)) catalogue.push_back(*record);
  }
  sources::MatchGroupCounts(catalogue);
  QueryPerformanceCounter(&end);
  *records = catalogue.size();
  return Milliseconds(start, end);
}

}  // namespace

int PrintThreadState() {
  const services::ThreadHandle thread = services::StartBackgroundThread(&RecordThreadState);
  if (!thread || !services::WaitForThread(thread, 10000)) return 1;
  services::ReleaseThread(thread);
  std::printf("priority %d com %d\n", g_priority, g_com_ready ? 1 : 0);
  return 0;
}

int PrintIcons() {
  CoInitialize(nullptr);
  std::printf("file-notepad %d\n", sources::FileIcon("C:\\windows\\notepad.exe") != 0);
  std::printf("file-quoted %d\n", sources::FileIcon("\"C:\\windows\\regedit.exe\"") != 0);
  std::printf("file-absent %d\n", sources::FileIcon("C:\\absent\\nothing-here.exe") != 0);
  std::printf("type-txt %d\n", sources::ExtensionIcon("TXT") != 0);
  std::printf("type-unknown %d\n", sources::ExtensionIcon("zz9unknown") != 0);
  std::printf("generic %d\n", services::GenericIcon(16) != 0);
  std::printf("same-key %d\n", sources::FileIcon("C:\\autre\\NOTEPAD.EXE") == sources::FileIcon("C:\\windows\\notepad.exe"));
  return 0;
}

int Bench(int lines) {
  CoInitialize(nullptr);
  const std::vector<std::string> listing = SyntheticListing(lines);
  sources::IconCache icons;
  std::size_t records = 0;
  const double first = ParseAll(listing, icons, &records);
  std::printf("lines %d records %u icon-keys %u\n", lines, static_cast<unsigned>(records),
              static_cast<unsigned>(icons.icons.size()));
  std::printf("first pass (shell asked once per key): %.2f ms\n", first);
  double best = 1e9, total = 0;
  const int runs = 20;
  for (int run = 0; run < runs; ++run) {
    const double cached = ParseAll(listing, icons, &records);
    total += cached;
    if (cached < best) best = cached;
  }
  std::printf("cached passes: best %.2f ms, mean %.2f ms over %d runs (%.2f us per line)\n", best, total / runs, runs,
              1000.0 * best / lines);
  return 0;
}

}  // namespace probe
