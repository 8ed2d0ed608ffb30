// Times the console helper's work without its pause: the same walk, shortcut resolution and
// line formatting as KestrivalumeConsole.exe, with a pause that does nothing and output that is
// counted instead of written. Prints figures only.
//   consolebench [-startmenu | <folder>] [repeats]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/listing.h"
#include "console/win32/system_win32.h"

namespace {

struct Counts {
  long entries = 0;  // directory entries the listing visits: one pause each in the helper
  long shortcuts = 0;
  long lines = 0;
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// Average length of the helper's real pause (10 ms at 1 ms timer resolution).
double MeasurePause() {
  constexpr int kPauses = 100;
  const LARGE_INTEGER start = Now();
  for (int i = 0; i < kPauses; ++i) console::PauseBeforeEntry();
  return Milliseconds(start, Now()) / kPauses;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : console::kStartMenuOption;
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  console::ShellLinkReader reader;
  if (!reader.Open()) {
    std::printf("the shell link object cannot be created\n");
    return 1;
  }
  Counts counts;
  console::System system;
  system.list_folder = console::ListFolder;
  system.read_shortcut = [&](const std::string& path) {
    ++counts.shortcuts;
    return reader.Read(path);
  };
  system.write_line = [&counts](const std::string&) { ++counts.lines; };
  system.pause = [&counts] { ++counts.entries; };
  system.now_ms = console::MonotonicMilliseconds;

  const bool start_menu = what == console::kStartMenuOption;
  const console::SpecialFolders folders = console::ResolveSpecialFolders();
  const std::string tree = start_menu || what.back() == '\\' ? what : what + "\\";
  double walk_ms = 0, listing_ms = 0;
  std::size_t groups = 0;
  for (int run = 0; run < repeats; ++run) {
    counts = Counts{};
    const LARGE_INTEGER start = Now();
    const std::vector<console::FolderRecord> records =
        start_menu ? console::WalkStartMenu(folders, system) : console::WalkFolderTree(tree, system);
    const LARGE_INTEGER walked = Now();
    console::Throttle throttle(system, true);
    console::ListFolders(records, system, throttle);
    walk_ms += Milliseconds(start, walked);
    listing_ms += Milliseconds(walked, Now());
    groups = records.size();
  }
  walk_ms /= repeats;
  listing_ms /= repeats;
  const double pause_ms = MeasurePause();
  std::printf("listing of %s, average of %d runs without the pause\n", what.c_str(), repeats);
  std::printf("folders %zu, directory entries %ld, shortcuts read %ld, lines %ld\n", groups, counts.entries,
              counts.shortcuts, counts.lines);
  std::printf("walk %.2f ms; scan and resolution %.2f ms = %.3f ms per shortcut\n", walk_ms, listing_ms,
              counts.shortcuts ? listing_ms / static_cast<double>(counts.shortcuts) : 0.0);
  std::printf("floor under the throttle: %.2f ms for the whole listing\n", walk_ms + listing_ms);
  std::printf("measured pause %.2f ms; a pause before every entry would add %.0f ms\n", pause_ms,
              pause_ms * static_cast<double>(counts.entries));
  return 0;
}
