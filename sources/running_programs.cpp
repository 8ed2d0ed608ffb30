#include "sources/running_programs.h"

#include "platform/location_marker.h"

KV_MARKED_FILE(403);

namespace sources {

bool CountsAsProgramWindow(const services::TopLevelWindow& window) {
  return window.visible && !window.tool_window && !window.title.empty();
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
