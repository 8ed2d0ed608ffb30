// The runtime's own controls: an image, an image that reports clicks (icon button) and a
// one-line link with a hover colour. They paint no background of their own unless the parent
// gives them an opaque brush, so the window's colour or picture shows through.
#include <windows.h>
#include <commctrl.h>

#include "ui/win32/runtime_state.h"

namespace ui::win32 {

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverIntervalMs = 30;

struct OwnControl {
  int image = -1;
  HICON borrowed_icon = nullptr;
  COLORREF hover = 0;
  bool hot = false;
  HFONT font = nullptr;
};

OwnControl* StateOf(HWND control) {
  return reinterpret_cast<OwnControl*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

bool IsClass(HWND control, const char* name) {
  char found[64] = {};
  GetClassNameA(control, found, sizeof found);
  return lstrcmpiA(found, name) == 0;
}

// Repaints the parent's pixels under the control first, so a transparent control never draws
// over its own earlier picture.
void RepaintWithParent(HWND control) {
  HWND parent = GetParent(control);
  if (!IsWindowVisible(parent)) return;  // a window being built paints once when shown
  RECT area;
  GetWindowRect(control, &area);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Pictures fill their control: at the DPI they were drawn for that is their own size.
void DrawFitted(HDC dc, HICON icon, int width, int height) {
  DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
}

void DrawFitted(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  if (info.bmWidth == width && info.bmHeight == height) {
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

void PaintImage(HWND control, HDC dc, const OwnControl& state) {
  RECT area;
  GetClientRect(control, &area);
  const int dpi = DpiOfControl(control);
  if (state.borrowed_icon) {
    DrawFitted(dc, state.borrowed_icon, area.right, area.bottom);
  } else if (HICON icon = IconHandle(state.image, dpi)) {
    DrawFitted(dc, icon, area.right, area.bottom);
  } else if (HBITMAP bitmap = BitmapHandle(state.image, dpi)) {
    DrawFitted(dc, bitmap, area.right, area.bottom);
  }
}

void PaintLink(HWND control, HDC dc, const OwnControl& state) {
  RECT area;
  GetClientRect(control, &area);
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(control)));
  if (brush) FillRect(dc, &area, brush);
  if (state.hot) SetTextColor(dc, state.hover);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old_font = state.font ? SelectObject(dc, state.font) : nullptr;
  char text[512] = {};
  const int length = GetWindowTextA(control, text, sizeof text);
  DrawTextA(dc, text, length, &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  if (old_font) SelectObject(dc, old_font);
}

void OnPaint(HWND control, OwnControl& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control, &paint);
  if (IsClass(control, kLinkClass)) {
    PaintLink(control, dc, state);
  } else {
    PaintImage(control, dc, state);
  }
  EndPaint(control, &paint);
}

void OnMouseMove(HWND control, OwnControl& state) {
  if (state.hot || !IsClass(control, kLinkClass)) return;
  state.hot = true;
  SetTimer(control, kHoverTimer, kHoverIntervalMs, nullptr);
  RepaintWithParent(control);
}

// Ends the hover once the pointer left the control or the window got disabled.
void OnHoverTimer(HWND control, OwnControl& state) {
  POINT pointer;
  GetCursorPos(&pointer);
  ScreenToClient(control, &pointer);
  RECT area;
  GetClientRect(control, &area);
  if (PtInRect(&area, pointer) && IsWindowEnabled(GetParent(control))) return;
  state.hot = false;
  KillTimer(control, kHoverTimer);
  RepaintWithParent(control);
}

void ReportClick(HWND control) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

HCURSOR PointerFor(HWND control) {
  if (IsClass(control, kLinkClass)) {
    if (HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND))) return hand;
  }
  return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

// Hands a mouse message to the parent window's tooltips, which show the control's tip.
void RelayToTooltips(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowRecord* parent = FindWindowRecord(WindowNumberOf(GetParent(control)));
  if (!parent || !parent->tooltips) return;
  MSG relayed = {control, message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
  SendMessageA(parent->tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT CALLBACK OwnControlProcedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  OwnControl* state = StateOf(control);
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
      message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) {
    RelayToTooltips(control, message, wparam, lparam);
  }
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new OwnControl));
      break;
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrA(control, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (state) OnPaint(control, *state);
      return 0;
    case WM_SETFONT:
      if (state) state->font = reinterpret_cast<HFONT>(wparam);
      return 0;
    case WM_GETFONT:
      return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(control, message, wparam, lparam);
      RepaintWithParent(control);
      return result;
    }
    case WM_MOUSEMOVE:
      if (state) OnMouseMove(control, *state);
      return 0;
    case WM_TIMER:
      if (state && wparam == kHoverTimer) OnHoverTimer(control, *state);
      return 0;
    case WM_LBUTTONUP:
      if (!IsClass(control, kImageClass)) ReportClick(control);
      return 0;
    case WM_NCHITTEST:
      // A plain image lets clicks through to the window beneath, as a static picture does.
      if (IsClass(control, kImageClass)) return HTTRANSPARENT;
      break;
    case WM_SETCURSOR:
      SetCursor(PointerFor(control));
      return TRUE;
  }
  return DefWindowProcA(control, message, wparam, lparam);
}

}  // namespace

bool RegisterOwnControlClasses() {
  static bool registered = false;
  if (registered) return true;
  registered = true;
  for (const char* name : {kImageClass, kIconButtonClass, kLinkClass}) {
    WNDCLASSEXA type = {};
    type.cbSize = sizeof type;
    type.lpfnWndProc = OwnControlProcedure;
    type.hInstance = Instance();
    type.lpszClassName = name;
    if (!RegisterClassExA(&type)) registered = false;
  }
  return registered;
}

void SetLinkHoverColour(HWND link, COLORREF colour) {
  if (OwnControl* state = StateOf(link)) state->hover = colour;
}

void SetShownImage(HWND control, int image) {
  OwnControl* state = StateOf(control);
  if (!state) return;
  state->image = image;
  state->borrowed_icon = nullptr;
  RepaintWithParent(control);
}

void SetShownIconHandle(HWND control, HICON icon) {
  OwnControl* state = StateOf(control);
  if (!state) return;
  state->image = -1;
  state->borrowed_icon = icon;
  RepaintWithParent(control);
}

}  // namespace ui::win32
