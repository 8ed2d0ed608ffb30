// Entry point of Kestrivalume.exe: start-up, the main loop, the normal end.
#include <windows.h>

#include "menu/launch.h"
#include "menu/menu_window.h"
#include "platform/services.h"
#include "settings/settings_store.h"
#include "settings/usage_lists.h"
#include "settings_window/settings_window.h"
#include "shell/button_window.h"
#include "shell/console_helper_file.h"
#include "shell/main_loop.h"
#include "shell/startup.h"
#include "shell/system_commands.h"
#include "sources/catalogue_find.h"
#include "sources/catalogue_refresh.h"

namespace {

// The operations of the other subsystems, wired once.
shell::ProgramHooks WireHooks() {
  shell::ProgramHooks hooks;
  hooks.load_settings = settings::LoadSettings;
  hooks.save_settings = settings::SaveSettings;
  hooks.prepare_screen_images = settings::PrepareScreenImages;
  hooks.create_button_window = shell::CreateButtonWindow;
  hooks.build_menu_window = menu::BuildMenuWindow;
  hooks.close_menu_window = menu::CloseMenuWindow;
  hooks.launch_entry = menu::LaunchEntry;
  hooks.system_command = shell::RunSystemCommand;
  hooks.write_console_helper = shell::WriteConsoleHelper;
  hooks.show_popup_menu = shell::ShowButtonPopupMenu;
  hooks.popup_menu_item = shell::RunPopupMenuItem;
  hooks.record_use_by_target = settings::RecordUseByTarget;
  hooks.refresh_check = sources::RefreshCheck;
  hooks.menu_awaits_catalogue = menu::AwaitsArrivedCatalogue;
  hooks.finish_refresh_at_exit = sources::FinishRefreshAtExit;
  hooks.find_by_program_path = sources::FindByProgramPath;
  hooks.open_settings_window = settings_window::OpenSettingsWindow;
  hooks.apply_settings_window = settings_window::ApplySettingsWindow;
  hooks.settings_window_control = settings_window::SettingsWindowControl;
  hooks.window_moved = settings_window::SettingsWindowMoved;
  hooks.refresh_environment = services::RefreshEnvironmentFromLogon;
  return hooks;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  services::PrepareShellCalls();
  const shell::ProgramHooks hooks = WireHooks();
  services::RememberLogonEnvironment();  // what a later refresh of the environment may remove
  int exit_code = 0;
  if (shell::RunStartup(hooks) == shell::StartupOutcome::EnterLoop) exit_code = shell::RunMainLoop(hooks);
  shell::NormalEnd();
  return exit_code;
}
