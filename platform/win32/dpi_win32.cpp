#include "platform/win32/dpi_win32.h"

#include "platform/win32/library_function_win32.h"

namespace services::win32 {

namespace {

constexpr int kBaseDpi = 96;
constexpr int kMonitorEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI of GetDpiForMonitor

using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

HMODULE User32() { return GetModuleHandleA("USER32.DLL"); }

// Kept loaded for the rest of the run once asked for.
HMODULE Shcore() {
  static HMODULE shcore = LoadLibraryA("SHCORE.DLL");
  return shcore;
}

int Sane(UINT dpi) { return dpi >= 24 && dpi <= 24 * kBaseDpi ? static_cast<int>(dpi) : 0; }

}  // namespace

int SystemDpi() {
  if (auto for_system = LibraryFunction<GetDpiForSystemFunction>(User32(), "GetDpiForSystem")) {
    if (const int dpi = Sane(for_system())) return dpi;
  }
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = Sane(static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX)));
    ReleaseDC(nullptr, screen);
  }
  return dpi ? dpi : kBaseDpi;
}

int MonitorDpiAt(POINT point) {
  auto for_monitor = LibraryFunction<GetDpiForMonitorFunction>(Shcore(), "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (for_monitor && for_monitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), kMonitorEffectiveDpi, &x, &y) == S_OK) {
    if (const int dpi = Sane(x)) return dpi;
  }
  return SystemDpi();
}

int WindowDpi(HWND window) {
  if (auto for_window = LibraryFunction<GetDpiForWindowFunction>(User32(), "GetDpiForWindow")) {
    if (const int dpi = Sane(for_window(window))) return dpi;
  }
  RECT area = {};
  GetWindowRect(window, &area);
  return MonitorDpiAt({area.left + (area.right - area.left) / 2, area.top + (area.bottom - area.top) / 2});
}

void AdjustOuterRectForDpi(RECT* rect, DWORD style, DWORD extended_style, int dpi) {
  auto for_dpi = LibraryFunction<AdjustWindowRectExForDpiFunction>(User32(), "AdjustWindowRectExForDpi");
  if (for_dpi && for_dpi(rect, style, FALSE, extended_style, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(rect, style, FALSE, extended_style);
}

}  // namespace services::win32
