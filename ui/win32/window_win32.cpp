#include <windows.h>
#include <commctrl.h>

#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace ui {

using win32::FindWindowRecord;
using win32::PushEvent;
using win32::WindowRecord;

namespace {

constexpr char kPlainClass[] = "KestrivalumeWindow";
constexpr char kShadowClass[] = "KestrivalumeShadowWindow";

// Colours of a control that has its own; other controls draw on the window's background.
LRESULT ControlColour(HWND window, HDC dc, HWND control) {
  WindowRecord* record = FindWindowRecord(win32::WindowNumberOf(window));
  if (!record) return 0;
  for (auto& [number, item] : record->controls) {
    if (item.handle != control) continue;
    if (!item.has_colours) break;
    SetTextColor(dc, item.colours.text);
    if (item.colours.transparent) {
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    SetBkColor(dc, item.colours.background);
    if (!item.background_brush) item.background_brush = CreateSolidBrush(item.colours.background);
    return reinterpret_cast<LRESULT>(item.background_brush);
  }
  if (!record->background) return 0;
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(record->background);
}

void ReportControl(HWND window, HWND control) {
  PushEvent({EventKind::Control, win32::WindowNumberOf(window), GetDlgCtrlID(control)});
}

bool OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
  const int code = HIWORD(wparam);
  if (lparam == 0) {
    if (code != 0) return false;  // accelerators are not used
    PushEvent({EventKind::MenuItem, win32::WindowNumberOf(window), LOWORD(wparam)});
    return true;
  }
  if (code == BN_CLICKED || code == CBN_SELCHANGE) {
    ReportControl(window, reinterpret_cast<HWND>(lparam));
    return true;
  }
  return false;
}

void ReportMove(HWND window) {
  const int number = win32::WindowNumberOf(window);
  WindowRecord* record = FindWindowRecord(number);
  if (record && record->report_moves) PushEvent({EventKind::WindowMoved, number, 0});
}

bool PaintBackground(HWND window, HDC dc) {
  WindowRecord* record = FindWindowRecord(win32::WindowNumberOf(window));
  RECT area;
  GetClientRect(window, &area);
  FillRect(dc, &area, record && record->background ? record->background : GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(window, wparam, lparam)) return 0;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lparam && LOWORD(wparam) != TB_ENDTRACK) ReportControl(window, reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (LRESULT brush = ControlColour(window, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)))
        return brush;
      break;
    case WM_ERASEBKGND:
      return PaintBackground(window, reinterpret_cast<HDC>(wparam));
    case WM_LBUTTONUP:
      PushEvent({EventKind::LeftButtonUp, win32::WindowNumberOf(window), 0});
      return 0;
    case WM_RBUTTONUP:
      PushEvent({EventKind::RightButtonUp, win32::WindowNumberOf(window), 0});
      return 0;
    case WM_CLOSE:
      PushEvent({EventKind::WindowClose, win32::WindowNumberOf(window), 0});
      return 0;
    case WM_MOVE:
      ReportMove(window);
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterClasses() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA plain = {};
  plain.cbSize = sizeof(plain);
  plain.lpfnWndProc = WindowProcedure;
  plain.hInstance = win32::Instance();
  plain.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  plain.hIcon = LoadIconA(win32::Instance(), MAKEINTRESOURCEA(1));
  plain.lpszClassName = kPlainClass;
  WNDCLASSEXA shadow = plain;
  shadow.style = CS_DROPSHADOW;
  shadow.lpszClassName = kShadowClass;
  registered = RegisterClassExA(&plain) && RegisterClassExA(&shadow);
  return registered;
}

DWORD StyleOf(const WindowSpec& shape) {
  return shape.frame == Frame::CloseBox ? (WS_POPUP | WS_CAPTION | WS_SYSMENU) : WS_POPUP;
}

DWORD ExtendedStyleOf(const WindowSpec& shape) {
  DWORD style = 0;
  if (shape.topmost) style |= WS_EX_TOPMOST;
  if (shape.tool_window) style |= WS_EX_TOOLWINDOW;
  return style;
}

RECT OuterRect(const WindowSpec& shape) {
  RECT outer = {0, 0, shape.inner_width, shape.inner_height};
  AdjustWindowRectEx(&outer, StyleOf(shape), FALSE, ExtendedStyleOf(shape));
  int x = shape.x, y = shape.y;
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  if (shape.centred) {
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  return {x, y, x + width, y + height};
}

HWND Handle(int number) {
  WindowRecord* record = FindWindowRecord(number);
  return record ? record->handle : nullptr;
}

void ReplaceBackground(int number, HBRUSH brush) {
  WindowRecord* record = FindWindowRecord(number);
  if (!record) {
    if (brush) DeleteObject(brush);
    return;
  }
  if (record->background) DeleteObject(record->background);
  record->background = brush;
  InvalidateRect(record->handle, nullptr, TRUE);
}

using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up at run time: systems before Windows 2000 lack it.
SetLayeredAttributes LayeredAttributesFunction() {
  HMODULE user32 = GetModuleHandleA("USER32.DLL");
  if (!user32) return nullptr;
  return reinterpret_cast<SetLayeredAttributes>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
}

bool SetLayered(int number, COLORREF key, BYTE alpha, DWORD flags) {
  HWND window = Handle(number);
  if (!window) return false;
  SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredAttributes set = LayeredAttributesFunction();
  return set && set(window, key, alpha, flags);
}

}  // namespace

bool OpenWindow(const WindowSpec& shape) {
  if (!RegisterClasses() || FindWindowRecord(shape.number)) return false;
  const RECT outer = OuterRect(shape);
  HWND owner = Handle(shape.owner);
  HWND window = CreateWindowExA(ExtendedStyleOf(shape), shape.drop_shadow ? kShadowClass : kPlainClass,
                                shape.title.c_str(), StyleOf(shape), outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                                win32::Instance(), nullptr);
  if (!window) return false;
  win32::Windows()[shape.number].handle = window;
  return true;
}

void CloseWindow(int number) {
  WindowRecord* record = FindWindowRecord(number);
  if (!record) return;
  DestroyWindow(record->handle);  // destroys the controls and the tooltip window with it
  for (auto& [control, item] : record->controls) {
    if (item.background_brush) DeleteObject(item.background_brush);
  }
  if (record->background) DeleteObject(record->background);
  win32::Windows().erase(number);
}

bool WindowExists(int number) { return FindWindowRecord(number) != nullptr; }

void ShowWindow(int number) {
  if (HWND window = Handle(number)) ::ShowWindow(window, SW_SHOW);
}

void BringToFront(int number) {
  HWND window = Handle(number);
  if (!window) return;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
}

void MoveWindowTo(int number, int x, int y) {
  if (HWND window = Handle(number))
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetInnerSize(int number, int inner_width, int inner_height) {
  HWND window = Handle(number);
  if (!window) return;
  RECT outer = {0, 0, inner_width, inner_height};
  AdjustWindowRectEx(&outer, GetWindowLongA(window, GWL_STYLE), FALSE, GetWindowLongA(window, GWL_EXSTYLE));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InnerSize(int number, int* inner_width, int* inner_height) {
  RECT area = {};
  if (HWND window = Handle(number)) GetClientRect(window, &area);
  *inner_width = area.right;
  *inner_height = area.bottom;
}

void OuterPosition(int number, int* x, int* y) {
  RECT outer = {};
  if (HWND window = Handle(number)) GetWindowRect(window, &outer);
  *x = outer.left;
  *y = outer.top;
}

void InnerOrigin(int number, int* x, int* y) {
  POINT origin = {};
  if (HWND window = Handle(number)) ClientToScreen(window, &origin);
  *x = origin.x;
  *y = origin.y;
}

void ReportMoves(int number) {
  if (WindowRecord* record = FindWindowRecord(number)) record->report_moves = true;
}

void SetBackgroundColour(int number, Rgb colour) { ReplaceBackground(number, CreateSolidBrush(colour)); }

void SetBackgroundImage(int number, int image) {
  HBITMAP bitmap = win32::BitmapHandle(image);
  if (bitmap) ReplaceBackground(number, CreatePatternBrush(bitmap));
}

bool SetWindowAlpha(int number, int alpha) {
  return SetLayered(number, 0, static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha), LWA_ALPHA);
}

bool SetWindowColourKey(int number, Rgb key) { return SetLayered(number, key, 255, LWA_COLORKEY); }

int FocusedWindow() {
  HWND focus = GetFocus();
  return focus ? win32::WindowNumberOf(GetAncestor(focus, GA_ROOT)) : -1;
}

void CursorPosition(int* x, int* y) {
  POINT point = {};
  GetCursorPos(&point);
  *x = point.x;
  *y = point.y;
}

}  // namespace ui
