#include "sources/running_programs.h"

#include "shell/location_marker.h"
#include "shell/window_scan.h"

namespace sources {

std::vector<RunningProgram> EnumerateRunningPrograms() {
  KV_MARK();
  std::vector<RunningProgram> programs;
  // The window scan of the main loop and the menu agree on what counts as a program window.
  for (services::TopLevelWindow& window : services::TopLevelWindows()) {
    if (shell::CountsAsProgramWindow(window)) programs.push_back({window.handle, std::move(window.title)});
  }
  return programs;
}

}  // namespace sources
