#pragma once
// Fakes of the Windows services and of the user-interface runtime for the unit tests: tests set
// what a service returns and read what was asked of it. Reset() before each test.
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "shell/services.h"
#include "ui/events.h"
#include "ui/window.h"

namespace fakes {

struct Services {
  std::map<int, std::string> special_folders;
  std::string program_path = "C:\\Programmes\\Kestrivalume\\Kestrivalume.exe";
  std::vector<std::string> created_folders;
  bool wow64 = false;
  services::ProcessId current_process = 4242;
  std::vector<services::RunningProcess> processes;
  std::vector<std::pair<services::ProcessId, unsigned>> terminated;
  std::map<services::WindowHandle, std::string> image_paths;
  std::vector<std::string> mutexes;
  std::optional<services::ScreenInfo> screen = services::ScreenInfo{1920, 1080, 32};
  bool cursors_load = true;
  std::vector<services::TopLevelWindow> windows;
  std::map<std::tuple<services::RegistryRoot, std::string, std::string>, std::string> registry;
  std::vector<std::tuple<std::string, std::string, std::string, std::string>> shell_opened;
  std::string clipboard;
  std::int64_t now = 1000000;
};

struct Ui {
  std::map<int, ui::WindowSpec> windows;                      // open windows by number
  std::vector<std::pair<std::string, std::string>> messages;  // (title, text) of message boxes
  std::map<int, int> window_alpha;
  struct Font {
    std::string face;
    int points;
    bool bold;
  };
  std::map<int, Font> fonts;
  bool builtin_images_stored = false;
  int focused_window = -1;
  int cursor_x = 500, cursor_y = 500;
  std::vector<ui::Event> events;  // returned by WaitEvent in order, then None
};

Services& FakeServices();
Ui& FakeUi();
bool& FatalErrorReportInstalled();

// Clears every fake to its initial state.
void Reset();

}  // namespace fakes
