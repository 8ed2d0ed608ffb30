// Timings of the running program seen from outside (prints figures, asserts nothing), for
// scripts/performance.sh:
//   perfprobe start <Kestrivalume.exe> [timeout ms]
//       starts the program, prints "button <ms>" once its button window is visible, then closes
//       it (WM_CLOSE, ended after 10 s if it does not go) and prints "exit <code>"
//   perfprobe click <runs>
//       clicks the button of the running program with real input and prints "click <ms>" once the
//       menu window is visible, built and painted (menu thread answering and idle, no update
//       region left in the window or any control), "visible <ms>" when it was shown (built), then
//       "controls <count>" (child windows: 0 for a menu that draws its rows); the menu is closed
//       between runs (its close button clicked by its default action when it draws it), and a
//       first run is made unreported
//   perfprobe press <control id>
//       clicks a control of the open menu window (BN_CLICKED posted to the window)
//   perfprobe programs <Kestrivalume.exe> [timeout ms] [refreshes]
//       starts the program (and leaves it running), prints "button <ms>" once its button window
//       is visible, then clicks the button every 200 ms until a menu lists a program entry
//       ("Programme ..."): prints "programs <ms after the button>", "clicks <count>" and
//       "longest-click <ms>" (click to painted menu), or "programs none" on time-out; given a
//       number of refreshes, then "refreshed <ms after the button>" once the program tells that
//       many catalogue refreshes ended (or "refreshed none" within the time-out)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "menu/menu_controls.h"
#include "menu/menu_window.h"
#include "shell/button_window.h"
#include "tools/win_shared/element_reading.h"

namespace {

constexpr DWORD kAnswerWaitMs = 30000;  // generous: a loaded machine slows Wine a lot

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A visible top-level window with that title (of that process unless 0). FindWindowEx asks by
// title, one question per match, where listing every window would load the Wine server that
// the measured program needs for its own build.
HWND VisibleWindow(const char* title, DWORD process = 0) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, nullptr, title)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (IsWindowVisible(window) && (process == 0 || owner == process)) return window;
  }
  return nullptr;
}

// Polls every 2 ms; nullptr on time-out.
HWND WaitVisible(const char* title, DWORD process, double timeout_ms, HWND other_than = nullptr) {
  const double start = Now();
  while (Now() - start < timeout_ms) {
    HWND window = VisibleWindow(title, process);
    if (window && window != other_than) return window;
    Sleep(2);
  }
  return nullptr;
}

struct Pending {
  int controls = 0;
  bool update = false;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM param) {
  Pending* pending = reinterpret_cast<Pending*>(param);
  ++pending->controls;
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) pending->update = true;
  return TRUE;
}

// Waits until the window's thread answers and has gone idle (painting is what a thread does
// last, once its queue is otherwise empty) with nothing left to paint and no paint under way,
// and records that moment in `painted_at`; then
// checks, untimed, that nothing in the window or its controls waits to be painted (a check that
// costs a server question per control, so it must not sit inside the measured time). Returns
// the number of controls, or -1 if the window went away or never settled.
int WaitPainted(HWND window, double* painted_at) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, owner);
  const double start = Now();
  int controls = -1;
  while (controls < 0 && Now() - start < kAnswerWaitMs) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWaitMs, &ignored)) {
      std::fprintf(stderr, "perfprobe: the menu window does not answer\n");
      break;
    }
    if (process) WaitForInputIdle(process, kAnswerWaitMs);
    if (GetUpdateRect(window, nullptr, FALSE)) {
      Sleep(2);
      continue;
    }
    // Nothing left to paint may mean a paint under way: its BeginPaint emptied the region. The
    // thread answers the next message only once it is back in its loop, the paint done.
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWaitMs, &ignored)) break;
    *painted_at = Now();
    Pending pending;
    pending.update = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, CheckChild, reinterpret_cast<LPARAM>(&pending));
    if (!pending.update) controls = pending.controls;
    else Sleep(2);
  }
  // A window that draws its controls has no child window: 0. They are not read here, as a
  // screen reader would: that would start COM's machinery in the program and weigh on what
  // performance.sh measures of it afterwards (its memory).
  if (process) CloseHandle(process);
  if (controls < 0) std::fprintf(stderr, "perfprobe: parts of the menu window were never painted\n");
  return controls;
}

void SendClick(int x, int y) {
  SetCursorPos(x, y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

// A child window gets BN_CLICKED posted to its parent. A menu that draws its controls is closed
// by a click released on the tool column's close button, at (5, 5) and 16 wide at 96 DPI (the
// bare floors close at any click), so that nothing wakes COM in the program; any other control
// it draws is clicked as a screen reader does it.
bool PressControl(HWND window, int id) {
  if (HWND control = GetDlgItem(window, id))
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control)) != 0;
  if (id == menu::kFixedCloseButton) {
    HDC screen = GetDC(nullptr);
    const int middle = MulDiv(13, GetDeviceCaps(screen, LOGPIXELSX), 96);
    ReleaseDC(nullptr, screen);
    return PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(middle, middle)) != 0;
  }
  return win_shared::do_default_action(window, id + 1, kAnswerWaitMs).empty();
}

// Closes menu windows until none is left: a rebuild already asked for (a control pressed just
// before) replaces the window that was closed.
bool CloseMenu() {
  const double start = Now();
  while (HWND menu = VisibleWindow(menu::kMenuTitle)) {
    if (Now() - start > kAnswerWaitMs) return false;
    PressControl(menu, menu::kFixedCloseButton);
    while (IsWindow(menu) && Now() - start <= kAnswerWaitMs) Sleep(5);
    Sleep(100);  // time for a rebuild that was queued to show its window
  }
  return true;
}

// Starts the program without arguments; false (said on standard error) when it cannot start.
bool StartProgram(const char* program, PROCESS_INFORMATION* process) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string command = std::string("\"") + program + "\"";
  if (CreateProcessA(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process)) return true;
  std::fprintf(stderr, "perfprobe: cannot start %s\n", program);
  return false;
}

int TimeStart(const char* program, double timeout_ms) {
  PROCESS_INFORMATION process = {};
  const double start = Now();
  if (!StartProgram(program, &process)) return 1;
  HWND button = WaitVisible(shell::kButtonWindowTitle, process.dwProcessId, timeout_ms);
  if (button) {
    std::printf("button %.1f\n", Now() - start);
    PostMessageA(button, WM_CLOSE, 0, 0);
  } else {
    std::printf("button none\n");
  }
  if (WaitForSingleObject(process.hProcess, kAnswerWaitMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  WaitForSingleObject(process.hProcess, kAnswerWaitMs);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  std::printf("exit %lu\n", static_cast<unsigned long>(code));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return button ? 0 : 1;
}

// One more run than asked, the first not reported: it may meet a rebuild asked for just before.
int TimeClicks(int runs) {
  for (int run = 0; run <= runs; ++run) {
    if (!CloseMenu()) {
      std::fprintf(stderr, "perfprobe: the menu does not close\n");
      return 1;
    }
    if (!VisibleWindow(shell::kButtonWindowTitle)) {
      std::fprintf(stderr, "perfprobe: no button window\n");
      return 1;
    }
    Sleep(300);  // the program back in its idle wait
    const double start = Now();
    SendClick(8, 8);
    // A window closed while it is waited for was replaced (the program rebuilt the menu):
    // follow its successor.
    int controls = -1;
    double painted_at = 0, visible_at = 0;
    for (int attempt = 0; attempt < 3 && controls < 0; ++attempt) {
      HWND menu = WaitVisible(menu::kMenuTitle, 0, kAnswerWaitMs);
      visible_at = Now();
      if (!menu) std::fprintf(stderr, "perfprobe: no menu window after the click\n");
      controls = menu ? WaitPainted(menu, &painted_at) : -1;
      if (menu && IsWindow(menu)) break;
    }
    const double elapsed = painted_at - start;
    SetCursorPos(1900, 1060);  // away from the corner and the menu (no tooltip)
    if (controls < 0) {  // reported and left out of the figures; the next run may do better
      std::fprintf(stderr, "perfprobe: no painted menu window\n");
      continue;
    }
    if (run > 0) std::printf("click %.1f\nvisible %.1f\ncontrols %d\n", elapsed, visible_at - start, controls);
  }
  return 0;
}

BOOL CALLBACK FindProgramEntry(HWND child, LPARAM found) {
  char text[32] = {};
  GetWindowTextA(child, text, sizeof text);
  if (std::string(text).rfind("Programme ", 0) != 0) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

// One click on the button: milliseconds to the painted menu (-1 when none came), and whether it
// listed a program.
double ClickAndLook(bool* lists_programs) {
  *lists_programs = false;
  if (!CloseMenu()) return -1;
  const double start = Now();
  SendClick(8, 8);
  HWND menu = WaitVisible(menu::kMenuTitle, 0, kAnswerWaitMs);
  double painted_at = 0;
  if (!menu || WaitPainted(menu, &painted_at) < 0) return -1;
  EnumChildWindows(menu, FindProgramEntry, reinterpret_cast<LPARAM>(lists_programs));
  // A menu that draws its rows lists the programs last, before the fixed column's 7 buttons.
  for (const std::string& name : win_shared::last_child_names(menu, 12, kAnswerWaitMs)) {
    if (name.rfind("Programme ", 0) == 0) *lists_programs = true;
  }
  SetCursorPos(1900, 1060);
  return painted_at - start;
}

// When the program first told at least `count` catalogue refreshes ended (its button window's
// number, published at each pass of its loop), watched on a thread of its own so that the clicks
// neither hide nor delay that moment.
struct RefreshWatch {
  HWND button = nullptr;
  std::uintptr_t count = 0;
  std::atomic<double> seen_at{-1};
};

DWORD WINAPI WatchRefreshes(void* param) {
  RefreshWatch* watch = static_cast<RefreshWatch*>(param);
  while (IsWindow(watch->button)) {
    if (reinterpret_cast<std::uintptr_t>(GetPropA(watch->button, "Kestrivalume.Refreshes")) >= watch->count) {
      watch->seen_at = Now();
      break;
    }
    Sleep(2);
  }
  return 0;
}

int TimeProgramsAfterStart(const char* program, double timeout_ms, int refreshes) {
  PROCESS_INFORMATION process = {};
  const double start = Now();
  if (!StartProgram(program, &process)) return 1;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  HWND button = WaitVisible(shell::kButtonWindowTitle, process.dwProcessId, kAnswerWaitMs);
  if (!button) {
    std::printf("button none\n");
    return 1;
  }
  const double button_at = Now();
  std::printf("button %.1f\n", button_at - start);
  static RefreshWatch watch;  // the thread may outlive this call
  watch.button = button;
  watch.count = static_cast<std::uintptr_t>(refreshes);
  if (refreshes > 0) CloseHandle(CreateThread(nullptr, 0, WatchRefreshes, &watch, 0, nullptr));
  int clicks = 0;
  double longest = 0;
  bool listed = false;
  while (!listed && Now() - button_at < timeout_ms) {
    const double took = ClickAndLook(&listed);
    ++clicks;
    longest = std::max(longest, took);
    if (!listed) Sleep(200);
  }
  if (listed) {
    std::printf("programs %.1f\n", Now() - button_at);
  } else {
    std::printf("programs none\n");
  }
  std::printf("clicks %d\nlongest-click %.1f\n", clicks, longest);
  CloseMenu();
  if (refreshes > 0) {
    while (watch.seen_at < 0 && Now() - button_at < timeout_ms) Sleep(10);
    if (watch.seen_at >= 0) std::printf("refreshed %.1f\n", watch.seen_at - button_at);
    else std::printf("refreshed none\n");
  }
  return listed ? 0 : 1;
}

int Press(int id) {
  HWND menu = VisibleWindow(menu::kMenuTitle);
  if (!menu || !PressControl(menu, id)) {
    std::fprintf(stderr, "perfprobe: no control %d in an open menu\n", id);
    return 1;
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr, "perfprobe: bad command line (see main.cpp)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // each figure as soon as it is known: a caller may read along
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "start" && (argc == 3 || argc == 4)) return TimeStart(argv[2], argc == 4 ? std::atof(argv[3]) : 30000);
  if (command == "click" && argc == 3) return TimeClicks(std::max(1, std::atoi(argv[2])));
  if (command == "press" && argc == 3) return Press(std::atoi(argv[2]));
  if (command == "programs" && argc >= 3 && argc <= 5)
    return TimeProgramsAfterStart(argv[2], argc >= 4 ? std::atof(argv[3]) : 120000, argc == 5 ? std::atoi(argv[4]) : 0);
  return Usage();
}
