// Screen, pointer and windows: the primary display's size and depth, the three pointer shapes
// the program shows, and the list of top-level windows.
#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/services.h"
#include "platform/win32/dpi_win32.h"
#include "platform/win32/library_function_win32.h"
#include "platform/win32/window_handle_win32.h"

namespace services {
namespace {

HCURSOR arrow_cursor = nullptr;
HCURSOR wait_cursor = nullptr;
HCURSOR app_starting_cursor = nullptr;

// GetWindow walks can loop when windows change order during the walk; no desktop has this
// many top-level windows.
constexpr int kMaxTopLevelWindows = 20000;

// The current mode of the display marked primary; nothing when no display is attached.
std::optional<DEVMODEA> PrimaryDisplayMode() {
  DISPLAY_DEVICEA device = {};
  device.cb = sizeof device;
  for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0); ++index) {
    if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) {
      DEVMODEA mode = {};
      mode.dmSize = sizeof mode;
      if (!EnumDisplaySettingsA(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) return std::nullopt;
      return mode;
    }
    device = {};
    device.cb = sizeof device;
  }
  return std::nullopt;
}

using DwmGetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
constexpr DWORD kDwmCloaked = 14;  // DWMWA_CLOAKED

// Whether the desktop window manager hides the window (on another virtual desktop, a suspended
// app): asked through dwmapi, looked up at run time (systems before 8 have no cloaking).
bool IsCloaked(HWND window) {
  static const DwmGetWindowAttributeFunction get_attribute = [] {
    return win32::LibraryFunction<DwmGetWindowAttributeFunction>(LoadLibraryA("dwmapi.dll"), "DwmGetWindowAttribute");
  }();
  DWORD cloaked = 0;
  return get_attribute && SUCCEEDED(get_attribute(window, kDwmCloaked, &cloaked, sizeof cloaked)) && cloaked != 0;
}

TopLevelWindow DescribeWindow(HWND window) {
  TopLevelWindow described;
  described.handle = win32::ToWindowHandle(window);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const LONG ex_style = GetWindowLongA(window, GWL_EXSTYLE);
  described.visible = (style & WS_VISIBLE) != 0;
  described.tool_window = (ex_style & WS_EX_TOOLWINDOW) != 0;
  described.app_window = (ex_style & WS_EX_APPWINDOW) != 0;
  described.owned = GetWindow(window, GW_OWNER) != nullptr;
  described.desktop = window == GetShellWindow();
  described.cloaked = described.visible && IsCloaked(window);
  char title[256] = {};
  const int length = GetWindowTextA(window, title, sizeof title);
  if (length > 0) described.title.assign(title, strnlen(title, sizeof title));
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  described.process = process;
  return described;
}

}  // namespace

std::optional<ScreenInfo> MeasureScreen() {
  const std::optional<DEVMODEA> mode = PrimaryDisplayMode();
  if (!mode) return std::nullopt;
  ScreenInfo screen;
  screen.right = static_cast<int>(mode->dmPelsWidth);
  screen.bottom = static_cast<int>(mode->dmPelsHeight);
  screen.depth = static_cast<int>(mode->dmBitsPerPel);
  screen.dpi = win32::MonitorDpiAt({0, 0});  // the primary display holds the point (0, 0)
  // The primary monitor's own rectangle, in the program's own pixels: the screen's clip box
  // would be the whole virtual desktop, running the menu onto a second monitor.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    screen.right = monitor.rcMonitor.right;
    screen.bottom = monitor.rcMonitor.bottom;
  }
  return screen;
}

bool LoadCursors() {
  arrow_cursor = LoadCursorA(nullptr, IDC_ARROW);
  wait_cursor = LoadCursorA(nullptr, IDC_WAIT);
  app_starting_cursor = LoadCursorA(nullptr, IDC_APPSTARTING);
  return arrow_cursor && wait_cursor && app_starting_cursor;
}

void ShowCursorShape(CursorShape shape) {
  HCURSOR cursor = nullptr;
  switch (shape) {
    case CursorShape::Arrow: cursor = arrow_cursor; break;
    case CursorShape::Wait: cursor = wait_cursor; break;
    case CursorShape::AppStarting: cursor = app_starting_cursor; break;
  }
  if (cursor) SetCursor(cursor);
}

std::vector<TopLevelWindow> TopLevelWindows() {
  std::vector<TopLevelWindow> windows;
  HWND window = FindWindowA(nullptr, nullptr);
  for (int count = 0; window && count < kMaxTopLevelWindows; ++count) {
    TopLevelWindow described = DescribeWindow(window);
    if (described.handle != 0) windows.push_back(std::move(described));
    window = GetWindow(window, GW_HWNDNEXT);
  }
  return windows;
}

}  // namespace services
