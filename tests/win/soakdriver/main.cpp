// Drives the running program through many menu and settings-window cycles from one process, so
// that a soak run is not slowed by starting a helper per click. Each step is a message the
// program would get from a real click (WM_LBUTTONUP on the button window or on a control, the
// Apply button's BN_CLICKED, the close box's WM_CLOSE) or a real focus change, followed by a wait
// for the window to appear or go. Counts are read between runs by kvtool process-counts.
//   soakdriver.exe <menu cycles> <settings cycles>
// Prints one line per phase with its duration; exit 1 with the failing cycle on a time-out.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "menu/menu_controls.h"
#include "menu/menu_window.h"
#include "settings_window/settings_controls.h"
#include "shell/button_window.h"
#include "tools/win_shared/element_reading.h"

namespace {

constexpr DWORD kWaitMs = 15000;
// Every so many menu cycles the programs are shown and hidden again: the largest menu.
constexpr int kProgramsEvery = 10;

HWND g_focus_taker = nullptr;  // our own window: activating it takes the focus from the menu
int g_largest_menu = 0;        // controls of the largest menu seen, to show what was exercised
DWORD g_opening_ms = 0;        // time spent waiting for the menu to appear, and to go
DWORD g_closing_ms = 0;
// Standard static controls in the windows shown during a phase. Wine's static control keeps a
// small block of each after it is destroyed, which soak.sh sets beside the memory figures.
int g_static_controls = 0;

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

HWND VisibleWindow(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  return window && IsWindowVisible(window) ? window : nullptr;
}

// Waits until the window is shown and its thread answers (it has handled what was posted before).
HWND WaitShown(const char* title) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kWaitMs) {
    Pump();
    if (HWND window = VisibleWindow(title)) {
      DWORD_PTR result = 0;
      if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &result)) return window;
    }
    Sleep(5);
  }
  return nullptr;
}

bool WaitGone(const char* title) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kWaitMs) {
    Pump();
    if (!FindWindowA(nullptr, title)) return true;
    Sleep(5);
  }
  return false;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND control, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (GetDlgCtrlID(control) != search->id) return TRUE;
  search->found = control;
  return FALSE;
}

BOOL CALLBACK CountControl(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

BOOL CALLBACK CountStatic(HWND control, LPARAM counter) {
  char name[64] = {};
  const int length = GetClassNameA(control, name, sizeof name);
  // The common controls' version may stand in front of the class name.
  if (length >= 6 && lstrcmpiA(name + length - 6, "Static") == 0) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

void NoteStatics(HWND window) {
  if (window) EnumChildWindows(window, CountStatic, reinterpret_cast<LPARAM>(&g_static_controls));
}

// The menu draws its controls itself: they are counted as a screen reader sees them.
void NoteMenuSize(HWND menu) {
  int controls = 0;
  EnumChildWindows(menu, CountControl, reinterpret_cast<LPARAM>(&controls));
  if (controls == 0) {
    controls = static_cast<int>(
        win_shared::read_elements(menu, win_shared::ObjectSource::AccessibleObjectFromWindow, 5000).elements.size());
  }
  if (controls > g_largest_menu) g_largest_menu = controls;
  NoteStatics(menu);
}

HWND Control(HWND window, int id) {
  ControlSearch search = {id, nullptr};
  EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The program's own controls report a click on the button's release; those the window draws
// itself are clicked as a screen reader does it (their default action).
bool ClickOwnControl(const char* title, int id) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return false;
  if (HWND control = Control(window, id)) return PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  return win_shared::do_default_action(window, id + 1, 5000).empty();
}

// A standard push button reports BN_CLICKED to its parent.
bool ClickButton(const char* title, int id) {
  HWND window = FindWindowA(nullptr, title);
  HWND button = window ? Control(window, id) : nullptr;
  return button && PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool OpenMenu() {
  HWND button = FindWindowA("KestrivalumeWindow", shell::kButtonWindowTitle);
  if (!button || !PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(8, 8))) return false;
  const DWORD start = GetTickCount();
  HWND menu = WaitShown(menu::kMenuTitle);
  g_opening_ms += GetTickCount() - start;
  if (menu) NoteMenuSize(menu);
  return menu != nullptr;
}

// A rebuild replaces the menu window: wait for the old one to go, then for the new one.
bool ToggleProgramsTwice() {
  for (int i = 0; i < 2; ++i) {
    HWND before = FindWindowA(nullptr, menu::kMenuTitle);
    if (!ClickOwnControl(menu::kMenuTitle, menu::kShowProgramsButton)) return false;
    const DWORD start = GetTickCount();
    while (IsWindow(before) && GetTickCount() - start < kWaitMs) {
      Pump();
      Sleep(5);
    }
    HWND rebuilt = WaitShown(menu::kMenuTitle);
    if (!rebuilt) return false;
    NoteMenuSize(rebuilt);
  }
  return true;
}

// Alternately the close button and focus loss, the two ways a person closes the menu.
bool CloseMenu(int cycle) {
  const DWORD start = GetTickCount();
  if (cycle % 2 == 0) {
    if (!ClickOwnControl(menu::kMenuTitle, menu::kCloseButton)) return false;
  } else {
    SetForegroundWindow(g_focus_taker);
  }
  const bool gone = WaitGone(menu::kMenuTitle);
  g_closing_ms += GetTickCount() - start;
  return gone;
}

bool MenuCycle(int cycle) {
  if (!OpenMenu()) return false;
  if (cycle % kProgramsEvery == kProgramsEvery / 2 && !ToggleProgramsTwice()) return false;
  return CloseMenu(cycle);
}

// Alternately "Appliquer" and the close box, which applies too.
bool SettingsCycle(int cycle) {
  using settings_window::kSettingsTitle;
  if (!OpenMenu() || !ClickOwnControl(menu::kMenuTitle, menu::kSettingsButton) || !WaitShown(kSettingsTitle))
    return false;
  NoteStatics(FindWindowA(nullptr, kSettingsTitle));
  NoteStatics(FindWindowA(nullptr, settings_window::kPreviewTitle));
  if (cycle % 2 == 0) {
    if (!ClickButton(kSettingsTitle, settings_window::kApplyButton)) return false;
  } else {
    if (!PostMessageA(FindWindowA(nullptr, kSettingsTitle), WM_CLOSE, 0, 0)) return false;
  }
  return WaitGone(kSettingsTitle) && WaitGone(settings_window::kPreviewTitle);
}

HWND MakeFocusTaker() {
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "soakdriver", WS_POPUP | WS_VISIBLE, 1000, 600, 8, 8,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  Pump();
  return window;
}

int Count(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value >= 0 && value <= 1000000 ? static_cast<int>(value) : -1;
}

template <typename Cycle>
bool RunPhase(const char* name, int cycles, Cycle cycle) {
  const DWORD start = GetTickCount();
  g_opening_ms = g_closing_ms = 0;
  g_static_controls = 0;
  for (int i = 0; i < cycles; ++i) {
    if (!cycle(i)) {
      std::printf("%s cycle %d of %d failed (a window did not appear or go within %lu ms)\n", name, i + 1, cycles,
                  kWaitMs);
      return false;
    }
  }
  std::printf(
      "%s cycles: %d in %.1f s (menu opening %.1f s, closing %.1f s); largest menu so far %d controls; "
      "%d standard static controls shown\n",
      name, cycles, (GetTickCount() - start) / 1000.0, g_opening_ms / 1000.0, g_closing_ms / 1000.0, g_largest_menu,
      g_static_controls);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int menu_cycles = argc == 3 ? Count(argv[1]) : -1;
  const int settings_cycles = argc == 3 ? Count(argv[2]) : -1;
  if (menu_cycles < 0 || settings_cycles < 0) {
    std::fprintf(stderr, "usage: soakdriver.exe <menu cycles> <settings cycles>\n");
    return 1;
  }
  if (!FindWindowA("KestrivalumeWindow", shell::kButtonWindowTitle)) {
    std::fprintf(stderr, "soakdriver: the program's button window is not there\n");
    return 1;
  }
  g_focus_taker = MakeFocusTaker();
  const bool ok = RunPhase("menu", menu_cycles, MenuCycle) && RunPhase("settings", settings_cycles, SettingsCycle);
  std::fflush(stdout);
  DestroyWindow(g_focus_taker);
  return ok ? 0 : 1;
}
