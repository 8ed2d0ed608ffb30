// Times, in one process under Wine, what the GUI thread does with the user's data: the
// all-documents read of Windows' recent-documents index, and the periodic save (preferences and
// both usage lists) of the data folder given, once with a use recorded before each save (the
// files change and are written) and once without (the bytes are the same as on disk).
//   dataprobe <data folder ending in \> <repeats>
// Prints "<figure> TAB <median ms> TAB <min ms> TAB <max ms>" lines, then "documents TAB <count>".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/usage_lists.h"
#include "sources/recent_documents.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Report(const char* figure, int repeats, const std::function<void()>& before, const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    if (before) before();
    const double start = NowMs();
    run();
    times.push_back(NowMs() - start);
  }
  std::sort(times.begin(), times.end());
  std::printf("%s\t%.1f\t%.1f\t%.1f\n", figure, times[times.size() / 2], times.front(), times.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc == 3 ? std::atoi(argv[2]) : 0;
  if (repeats < 1) {
    std::fprintf(stderr, "dataprobe: usage: dataprobe <data folder ending in \\> <repeats>\n");
    return 2;
  }
  platform::MutableEnv().data_folder = argv[1];
  settings::LoadSettings();
  Report("documents-all", repeats, nullptr, [] { sources::ReadRecentDocuments(true); });
  const std::size_t documents = sources::RecentDocuments().size();
  Report("documents-default", repeats, nullptr, [] { sources::ReadRecentDocuments(false); });
  settings::SaveSettings();  // files as the program writes them: from here on the same bytes
  Report("save-unchanged", repeats, nullptr, [] { settings::SaveSettings(); });
  int use = 0;
  Report(
      "save-changed", repeats,
      [&use] { settings::RecordUseByLabel("dataprobe " + std::to_string(use++), "C:\\dataprobe.exe", ""); },
      [] { settings::SaveSettings(); });
  std::printf("documents\t%u\n", static_cast<unsigned>(documents));
  return 0;
}
