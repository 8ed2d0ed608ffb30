#include "sources/running_programs.h"

#include "platform/location_marker.h"

KV_MARKED_FILE(403);

namespace sources {

bool CountsAsProgramWindow(const services::TopLevelWindow& window) {
  if (!window.visible || window.tool_window || window.title.empty()) return false;
  // What the user never sees as a program: windows the desktop window manager hides, the
  // desktop itself, and owned windows (dialogs, palettes) unless they ask for the taskbar.
  if (window.cloaked || window.desktop) return false;
  return !window.owned || window.app_window;
}

std::vector<RunningProgram> EnumerateRunningPrograms() {
  KV_MARK();
  std::vector<RunningProgram> programs;
  for (services::TopLevelWindow& window : services::TopLevelWindows()) {
    if (CountsAsProgramWindow(window)) programs.push_back({window.handle, std::move(window.title)});
  }
  return programs;
}

}  // namespace sources
