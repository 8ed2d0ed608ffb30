#pragma once
// Operations of the other subsystems that start-up and the main loop call. The program wires
// them once in its entry point; tests set recording functions. An operation left empty does
// nothing (or finds nothing).
#include <functional>
#include <optional>
#include <string>

#include "sources/catalogue_find.h"

namespace shell {

struct ProgramHooks {
  // Start-up.
  std::function<void()> load_settings;
  std::function<void()> create_button_window;
  std::function<void()> write_console_helper;
  // Menu window.
  std::function<void()> build_menu_window;
  std::function<void()> close_menu_window;
  std::function<void(int control)> launch_entry;
  std::function<void(int control)> system_command;  // controls 18-23
  // Button window and its popup menu.
  std::function<void()> show_popup_menu;            // popup menu 1 at the pointer
  std::function<void(int item)> popup_menu_item;    // items 2 (help), 3 (web page), 5 (about)
  // Settings window.
  std::function<void()> open_settings_window;
  std::function<void()> apply_settings_window;
  std::function<void(int control)> settings_window_control;
  std::function<void(int window)> window_moved;     // a window that reports its moves moved
  // Settings, catalogue and usage lists.
  std::function<void()> save_settings;
  std::function<void()> prepare_screen_images;      // pictures made for the screen, after it changed
  std::function<void()> refresh_check;
  std::function<void()> refresh_environment;       // the environment variables changed
  std::function<bool()> menu_awaits_catalogue;     // the open menu lacks a catalogue that came
  std::function<bool()> finish_refresh_at_exit;     // ends the helper, waits up to 15 s; false: still runs
  std::function<std::optional<sources::ProgramMatch>(const std::string& program_path)> find_by_program_path;
  std::function<void(const std::string& label, const std::string& launch_path, const std::string& target_path,
                     const std::string& program_path)>
      record_use_by_target;
};

// Calls an operation if it is wired.
template <typename Function, typename... Arguments>
void Call(const Function& function, Arguments&&... arguments) {
  if (function) function(std::forward<Arguments>(arguments)...);
}

}  // namespace shell
