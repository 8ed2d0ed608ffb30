#pragma once
// Resolution of screens and windows. The per-monitor functions came with Windows 8.1 and 10 and
// are looked up at run time; on older systems every screen and window has the one system DPI.
#include <windows.h>

// The messages of a window moving to a monitor of another DPI (Windows 10), for older headers.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace services::win32 {

// The DPI the whole system was started with.
int SystemDpi();
// The DPI of the monitor that holds the point (or is nearest to it).
int MonitorDpiAt(POINT point);
// The DPI a window is drawn at.
int WindowDpi(HWND window);
// AdjustWindowRectEx for a window drawn at `dpi` (its frame and caption scale with it).
void AdjustOuterRectForDpi(RECT* rect, DWORD style, DWORD extended_style, int dpi);

}  // namespace services::win32
