#pragma once
// Values start-up measures once and every module reads afterwards. Folder paths end with "\"
// (or are empty when Windows could not resolve them).
#include <memory>
#include <string>

namespace platform {

struct Environment {
  std::string program_folder;
  std::string data_folder;       // application data + "Kestrivalume\"
  std::string documents_folder;
  std::string recent_folder;
  std::string windows_folder;
  int screen_right = 0;
  int screen_bottom = 0;
  int screen_depth = 0;
  int screen_dpi = 96;  // of the primary display: the button window and the menu are drawn at it
  bool cursors_available = false;
};

const Environment& Env();
Environment& MutableEnv();  // start-up only

// Measures the primary screen (size, depth, DPI) into the environment: at start-up and again
// whenever the screen changes. False, with the earlier values kept, when it cannot be measured.
// GUI thread only.
bool MeasureScreen();

// The program that opens web pages. The catalogue refresh replaces it from its own thread, so
// it is swapped as a whole and read as a copy.
std::string HtmHandler();
void SetHtmHandler(std::string handler);

// File names the program owns.
constexpr char kProductName[] = "Kestrivalume";
constexpr char kConsoleHelperName[] = "KestrivalumeConsole.exe";

}  // namespace platform
