#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "platform/win32/dpi_win32.h"
#include "platform/win32/library_function_win32.h"
#include "ui/scale.h"
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

// An event of one of the program's windows; none for a retired window, whose number may be
// another window's already.
void PushOwnEvent(EventKind kind, HWND window, int item) {
  const int number = win32::WindowNumberOf(window);
  if (number >= 0) PushEvent({kind, number, item});
}

void ReportControl(HWND window, HWND control) {
  PushOwnEvent(EventKind::Control, window, GetDlgCtrlID(control));
}

bool OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
  const int code = HIWORD(wparam);
  if (lparam == 0) {
    if (code != 0) return false;  // accelerators are not used
    PushOwnEvent(EventKind::MenuItem, window, LOWORD(wparam));
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

// The outer size of a window whose inner area is `inner` (96-DPI units) when drawn at `dpi`.
SIZE OuterSizeAt(HWND window, int inner_width, int inner_height, int dpi) {
  RECT outer = {0, 0, Scaled(inner_width, dpi), Scaled(inner_height, dpi)};
  services::win32::AdjustOuterRectForDpi(&outer, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                                         static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), dpi);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

// The frame is drawn at the system's idea of the window's DPI, which may not be the one asked for
// (Wine keeps the system's for every window): the outer size is corrected until the inner area
// is exactly the scaled size.
void MatchInnerSize(const WindowRecord& record) {
  RECT inner = {};
  GetClientRect(record.handle, &inner);
  const int wider = Scaled(record.inner_width, record.dpi) - inner.right;
  const int taller = Scaled(record.inner_height, record.dpi) - inner.bottom;
  if (wider == 0 && taller == 0) return;
  RECT outer = {};
  GetWindowRect(record.handle, &outer);
  SetWindowPos(record.handle, nullptr, 0, 0, outer.right - outer.left + wider, outer.bottom - outer.top + taller,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Asked before a move to a monitor of another DPI: the size the window will have there, so that
// the rectangle Windows then suggests is exact.
bool OnDpiScaledSize(HWND window, WPARAM wparam, LPARAM lparam) {
  WindowRecord* record = FindWindowRecord(win32::WindowNumberOf(window));
  if (!record || !lparam) return false;
  *reinterpret_cast<SIZE*>(lparam) = OuterSizeAt(window, record->inner_width, record->inner_height, LOWORD(wparam));
  return true;
}

// The window now lies on a monitor of another DPI: it takes the suggested rectangle and lays out
// its controls again at the new scale. Nothing else changes: the controls keep what they show.
void OnDpiChanged(HWND window, WPARAM wparam, LPARAM lparam) {
  const int number = win32::WindowNumberOf(window);
  WindowRecord* record = FindWindowRecord(number);
  if (!record || !lparam) return;
  record->dpi = LOWORD(wparam);
  const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  MatchInnerSize(*record);
  win32::LayOutControls(*record);
  InvalidateRect(window, nullptr, TRUE);
  if (record->report_moves) PushEvent({EventKind::WindowMoved, number, 0});
}

bool PaintBackground(HWND window, HDC dc) {
  WindowRecord* record = FindWindowRecord(win32::WindowNumberOf(window));
  RECT area;
  GetClientRect(window, &area);
  FillRect(dc, &area, record && record->background ? record->background : GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

bool NeverActivated(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0; }

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT answer = 0;
  if (win32::OnDesktopNotice(message, wparam, lparam, &answer)) return answer;
  WindowRecord* record = win32::RecordOfHandle(window);
  if (record && record->draws_elements && win32::OnElementMessage(*record, message, wparam, lparam, &answer))
    return answer;
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
      PushOwnEvent(EventKind::LeftButtonUp, window, 0);
      return 0;
    case WM_RBUTTONUP:
      PushOwnEvent(EventKind::RightButtonUp, window, 0);
      return 0;
    case WM_CLOSE:
      PushOwnEvent(EventKind::WindowClose, window, 0);
      return 0;
    case WM_SYSCOMMAND:
      // Told apart from another program's WM_CLOSE, which DefWindowProc would make of it.
      if ((wparam & 0xFFF0) == SC_CLOSE) {
        PushOwnEvent(EventKind::WindowClose, window, kClosedByUser);
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE:
      if (NeverActivated(window)) return MA_NOACTIVATE;
      break;
    case WM_MOVE:
      ReportMove(window);
      break;
    case WM_GETDPISCALEDSIZE:
      if (OnDpiScaledSize(window, wparam, lparam)) return TRUE;
      break;
    case WM_DPICHANGED:
      OnDpiChanged(window, wparam, lparam);
      return 0;
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

DWORD StyleOf(const WindowShape& shape) {
  return shape.frame == Frame::CloseBox ? (WS_POPUP | WS_CAPTION | WS_SYSMENU) : WS_POPUP;
}

DWORD ExtendedStyleOf(const WindowShape& shape) {
  DWORD style = 0;
  if (shape.topmost) style |= WS_EX_TOPMOST;
  if (shape.tool_window) style |= WS_EX_TOOLWINDOW;
  // WS_EX_NOACTIVATE alone would also take the window off the taskbar.
  if (shape.no_activate) style |= shape.tool_window ? WS_EX_NOACTIVATE : WS_EX_NOACTIVATE | WS_EX_APPWINDOW;
  return style;
}

// The DPI a window about to open will be drawn at: that of the monitor at its place, the
// primary one for a centred window.
int DpiFor(const WindowShape& shape) {
  return services::win32::MonitorDpiAt(shape.centred ? POINT{0, 0} : POINT{shape.x, shape.y});
}

RECT OuterRect(const WindowShape& shape, int dpi) {
  RECT outer = {0, 0, Scaled(shape.inner_width, dpi), Scaled(shape.inner_height, dpi)};
  services::win32::AdjustOuterRectForDpi(&outer, StyleOf(shape), ExtendedStyleOf(shape), dpi);
  int x = shape.x, y = shape.y;
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  if (shape.centred) {
    // A window larger than the screen (the settings window at 200 % on a small screen) keeps its
    // caption on the screen, where it can be taken and moved.
    x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
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
  return services::win32::LibraryFunction<SetLayeredAttributes>(GetModuleHandleA("USER32.DLL"),
                                                                "SetLayeredWindowAttributes");
}

bool SetLayered(int number, COLORREF key, BYTE alpha, DWORD flags) {
  HWND window = Handle(number);
  if (!window) return false;
  SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredAttributes set = LayeredAttributesFunction();
  return set && set(window, key, alpha, flags);
}

// Every window is built hidden and shown once its controls are made: each showing is a finished
// build, numbered, so that another program (the end-to-end tests) can wait for the build that an
// action causes instead of for any window of that title. The window keeps its own build's number
// in one property; every window of the program keeps the latest number in another.
constexpr char kBuildProperty[] = "Kestrivalume.Build";
constexpr char kLastBuildProperty[] = "Kestrivalume.LastBuild";

void NumberFinishedBuild(int window) {
  static std::uintptr_t builds = 0;
  ++builds;
  PublishNumber(window, kBuildProperty, builds);
  for (const auto& [number, record] : win32::Windows()) PublishNumber(number, kLastBuildProperty, builds);
}

constexpr DWORD kAnswerEveryMs = 20;

}  // namespace

bool OpenWindow(const WindowShape& shape) {
  if (!RegisterClasses() || FindWindowRecord(shape.number)) return false;
  const int dpi = DpiFor(shape);
  const RECT outer = OuterRect(shape, dpi);
  HWND owner = Handle(shape.owner);
  HWND window = CreateWindowExA(ExtendedStyleOf(shape), shape.drop_shadow ? kShadowClass : kPlainClass,
                                shape.title.c_str(), StyleOf(shape), outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                                win32::Instance(), nullptr);
  if (!window) return false;
  WindowRecord& record = win32::Windows()[shape.number];
  record.handle = window;
  record.dpi = dpi;
  record.inner_width = shape.inner_width;
  record.inner_height = shape.inner_height;
  record.draws_elements = shape.draws_elements;
  // Windows has the last word on the monitor a window belongs to.
  const int actual = services::win32::WindowDpi(window);
  if (actual != dpi) {
    record.dpi = actual;
    const SIZE size = OuterSizeAt(window, shape.inner_width, shape.inner_height, actual);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MatchInnerSize(record);
  }
  return true;
}

namespace {

void RemoveProperties(WindowRecord& record) {
  for (const std::string& name : record.properties) RemovePropA(record.handle, name.c_str());
  record.properties.clear();
}

void Destroy(WindowRecord& record) {
  RemoveProperties(record);
  win32::ReleaseElements(record);
  DestroyWindow(record.handle);  // destroys the controls and the tooltip window with it
  for (auto& [control, item] : record.controls) {
    if (item.background_brush) DeleteObject(item.background_brush);
  }
  if (record.background) DeleteObject(record.background);
}

}  // namespace

void CloseWindow(int number) {
  WindowRecord* record = FindWindowRecord(number);
  if (!record) return;
  if (win32::PressWatchWindow() == number) StopWatchingPresses();
  Destroy(*record);
  win32::Windows().erase(number);
}

void RetireWindow(int number) {
  WindowRecord* record = FindWindowRecord(number);
  if (!record) return;
  if (win32::PressWatchWindow() == number) StopWatchingPresses();
  // Nothing outside may take it for the window of that number any more.
  RemoveProperties(*record);
  SetWindowTextA(record->handle, "");
  win32::RetiredWindows().push_back(std::move(*record));
  win32::Windows().erase(number);
}

void DestroyRetiredWindows() {
  std::vector<WindowRecord> retired;
  retired.swap(win32::RetiredWindows());
  for (WindowRecord& record : retired) Destroy(record);
}

bool WindowExists(int number) { return FindWindowRecord(number) != nullptr; }

bool WindowShown(int number) {
  const WindowRecord* record = FindWindowRecord(number);
  return record && record->shown;
}

void ShowWindow(int number) {
  HWND window = Handle(number);
  if (!window) return;
  ::ShowWindow(window, NeverActivated(window) ? SW_SHOWNA : SW_SHOW);
  WindowRecord* record = FindWindowRecord(number);
  record->shown = true;
  if (record->draws_elements) win32::NotifyElementsBuilt(*record);
  NumberFinishedBuild(number);
}

void PublishNumber(int number, const char* name, std::uintptr_t value) {
  WindowRecord* record = FindWindowRecord(number);
  if (!record) return;
  if (std::find(record->properties.begin(), record->properties.end(), name) == record->properties.end()) {
    record->properties.emplace_back(name);
  }
  SetPropA(record->handle, name, reinterpret_cast<HANDLE>(value));
}

void AnswerSentMessages() {
  static DWORD last = 0;
  const DWORD now = GetTickCount();
  if (now - last < kAnswerEveryMs) return;
  last = now;
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool BringToFront(int number) {
  HWND window = Handle(number);
  if (!window) return false;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // A refusal may still report success: the foreground window says what happened.
  return SetForegroundWindow(window) && GetForegroundWindow() == window;
}

void KeepOnTop(int number) {
  if (HWND window = Handle(number))
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MoveWindowTo(int number, int x, int y) {
  if (HWND window = Handle(number))
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetInnerSize(int number, int inner_width, int inner_height) {
  WindowRecord* record = FindWindowRecord(number);
  if (!record) return;
  record->inner_width = inner_width;
  record->inner_height = inner_height;
  const SIZE size = OuterSizeAt(record->handle, inner_width, inner_height, record->dpi);
  SetWindowPos(record->handle, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InnerSize(int number, int* inner_width, int* inner_height) {
  WindowRecord* record = FindWindowRecord(number);
  *inner_width = record ? record->inner_width : 0;
  *inner_height = record ? record->inner_height : 0;
}

int WindowDpi(int number) {
  WindowRecord* record = FindWindowRecord(number);
  return record ? record->dpi : kBaseDpi;
}

int DpiAt(int x, int y) { return services::win32::MonitorDpiAt({x, y}); }

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
  HBITMAP bitmap = win32::BitmapHandle(image, WindowDpi(number));
  if (bitmap) ReplaceBackground(number, CreatePatternBrush(bitmap));
}

bool SetWindowAlpha(int number, int alpha) {
  return SetLayered(number, 0, static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha), LWA_ALPHA);
}

bool SetWindowColourKey(int number, Rgb key) { return SetLayered(number, key, 255, LWA_COLORKEY); }

Foreground CurrentForeground() {
  HWND window = GetForegroundWindow();
  if (!window) return {};
  const HWND root = GetAncestor(window, GA_ROOT);
  return {win32::WindowNumberOf(root ? root : window), reinterpret_cast<std::uintptr_t>(window)};
}

bool MouseButtonHeld() {
  for (const int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
    if (GetAsyncKeyState(button) & 0x8000) return true;
  }
  return false;
}

bool CursorPosition(int* x, int* y) {
  POINT point = {};
  if (!GetCursorPos(&point)) return false;
  *x = point.x;
  *y = point.y;
  return true;
}

}  // namespace ui
