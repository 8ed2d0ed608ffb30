// Entry point of Kestrivalume.exe: start-up, the main loop, the normal end.
#include <windows.h>

#include "shell/button_window.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

namespace {

// The operations of the other subsystems, wired once.
shell::ProgramHooks WireHooks() {
  shell::ProgramHooks hooks;
  hooks.create_button_window = shell::CreateButtonWindow;
  hooks.show_popup_menu = shell::ShowButtonPopupMenu;
  hooks.popup_menu_item = shell::RunPopupMenuItem;
  return hooks;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const shell::ProgramHooks hooks = WireHooks();
  int exit_code = 0;
  if (shell::RunStartup(hooks) == shell::StartupOutcome::EnterLoop) exit_code = shell::RunMainLoop(hooks);
  shell::NormalEnd();
  return exit_code;
}
