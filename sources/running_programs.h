#pragma once
// The programs now running, as the menu lists them: top-level windows, not processes (a
// process with two such windows gives two, one without a window none).
#include <string>
#include <vector>

#include "platform/services.h"

namespace sources {

struct RunningProgram {
  services::WindowHandle Window = 0;
  std::string Title;  // at most 255 characters, never empty
};

// The windows that count as programs, for the menu and for the window scan alike: visible, not
// tool windows, with a title, not cloaked, not the desktop's own window, and not owned unless
// they carry WS_EX_APPWINDOW (the taskbar shows those).
bool CountsAsProgramWindow(const services::TopLevelWindow& window);

// The top-level windows that count as programs, in Z order from the top.
// The menu window is hidden while it is built, so it never lists itself.
std::vector<RunningProgram> EnumerateRunningPrograms();

}  // namespace sources
