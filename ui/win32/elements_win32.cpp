// How a window that draws its elements follows the pointer over them: the hover colour of links
// (one 30 ms check per window), the hand cursor, one tooltip control with a tool per element
// rectangle (both made at the pointer's first move over the window), and clicks reported when
// the left button is released over a link or button.
#include <windows.h>
#include <commctrl.h>

#include "ui/scale.h"
#include "ui/win32/runtime_state.h"

namespace ui::win32 {

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverIntervalMs = 30;

POINT PointOf(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

void RepaintNumber(const WindowRecord& window, int number) {
  if (const Element* element = FindElement(window.elements, number)) RepaintElement(window, *element);
}

TOOLINFOA ToolOf(const WindowRecord& window, const Element& element) {
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = window.handle;
  tool.uId = static_cast<UINT_PTR>(element.number);
  tool.rect = ElementRect(window, element);
  return tool;
}

// The tooltip control (unless a child control needed it first) and the tools of every element
// with a tip, at the pointer's first move over the window.
void AddElementTools(WindowRecord& window) {
  if (window.element_tools || !TooltipsOf(window)) return;
  window.element_tools = true;
  for (const Element& element : window.elements.items) {
    if (element.tooltip.empty()) continue;
    TOOLINFOA tool = ToolOf(window, element);
    tool.lpszText = const_cast<char*>(element.tooltip.c_str());
    SendMessageA(window.tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// Hands a mouse message to the window's tooltips, which show the tip of the element under it.
void RelayToTooltips(WindowRecord& window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_MOUSEMOVE) AddElementTools(window);
  if (!window.tooltips) return;
  MSG relayed = {window.handle, message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
  SendMessageA(window.tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void OnMouseMove(WindowRecord& window, LPARAM lparam) {
  const int before = window.elements.hot;
  const POINT at = PointOf(lparam);
  if (!HoverMove(window.elements, at.x, at.y, window.dpi)) return;
  if (before != kNoControl) RepaintNumber(window, before);
  RepaintNumber(window, window.elements.hot);
  if (!window.hover_timer) window.hover_timer = SetTimer(window.handle, kHoverTimer, kHoverIntervalMs, nullptr) != 0;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, window.handle, OBJID_CLIENT, ChildIdOf(window.elements.hot));
}

// Ends the hover once the pointer left the hot link or the window got disabled.
void OnHoverTimer(WindowRecord& window) {
  const int hot = window.elements.hot;
  POINT pointer = {};
  const bool known = GetCursorPos(&pointer) && ScreenToClient(window.handle, &pointer);
  if (hot != kNoControl &&
      !HoverCheck(window.elements, known, pointer.x, pointer.y, window.dpi, IsWindowEnabled(window.handle) != FALSE))
    return;
  if (hot != kNoControl) RepaintNumber(window, hot);
  KillTimer(window.handle, kHoverTimer);
  window.hover_timer = false;
}

// A link shows the hand (the arrow where the system has none); everything else the arrow.
bool OnSetCursor(const WindowRecord& window, LPARAM lparam) {
  if (LOWORD(lparam) != HTCLIENT) return false;
  POINT pointer = {};
  if (!GetCursorPos(&pointer) || !ScreenToClient(window.handle, &pointer)) return false;
  const Element* under = FindElement(window.elements, ClickableAt(window.elements, pointer.x, pointer.y, window.dpi));
  if (!under || under->kind != ElementKind::Link) return false;
  HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  SetCursor(hand ? hand : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  return true;
}

// An event of one of the program's windows; none for a retired window.
void Report(const WindowRecord& window, EventKind kind, int item) {
  const int number = WindowNumberOf(window.handle);
  if (number >= 0) PushEvent({kind, number, item});
}

// Over a link or button the release is its click; elsewhere the window's own.
void OnButtonUp(const WindowRecord& window, UINT message, LPARAM lparam) {
  const POINT at = PointOf(lparam);
  const int under = ClickableAt(window.elements, at.x, at.y, window.dpi);
  if (under != kNoControl) {
    if (message == WM_LBUTTONUP) Report(window, EventKind::Control, under);
    return;
  }
  Report(window, message == WM_LBUTTONUP ? EventKind::LeftButtonUp : EventKind::RightButtonUp, 0);
}

void OnReaderClick(const WindowRecord& window, WPARAM wparam) {
  const Element* element = FindElement(window.elements, static_cast<int>(wparam));
  if (element && ReportsClicks(element->kind)) Report(window, EventKind::Control, element->number);
}

}  // namespace

Element* DrawnElement(int window, int control) {
  WindowRecord* record = FindWindowRecord(window);
  return record && record->draws_elements ? FindElement(record->elements, control) : nullptr;
}

bool IsDrawnKind(ControlKind kind) {
  return kind == ControlKind::Text || kind == ControlKind::Image || kind == ControlKind::IconButton ||
         kind == ControlKind::Link || kind == ControlKind::Container;
}

bool OnElementMessage(WindowRecord& window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_PAINT:
      PaintDrawnWindow(window);
      return true;
    case WM_ERASEBKGND:
      *result = 1;  // the paint draws the background with everything else
      return true;
    case WM_MOUSEMOVE:
      RelayToTooltips(window, message, wparam, lparam);
      OnMouseMove(window, lparam);
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      RelayToTooltips(window, message, wparam, lparam);
      return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      RelayToTooltips(window, message, wparam, lparam);
      OnButtonUp(window, message, lparam);
      return true;
    case WM_TIMER:
      if (wparam != kHoverTimer) return false;
      OnHoverTimer(window);
      return true;
    case WM_SETCURSOR:
      if (!OnSetCursor(window, lparam)) return false;
      *result = TRUE;
      return true;
    case WM_GETOBJECT:
      *result = AnswerGetObject(window, wparam, lparam);
      return *result != 0;
    case kElementClickMessage:
      OnReaderClick(window, wparam);
      return true;
  }
  return false;
}

RECT ElementRect(const WindowRecord& window, const Element& element) {
  const Box place = ScaledBox(element.box, window.dpi);
  return {place.x, place.y, place.x + place.width, place.y + place.height};
}

void RepaintElement(const WindowRecord& window, const Element& element) {
  if (!window.shown) return;  // a window being built paints once when shown
  const RECT area = ElementRect(window, element);
  InvalidateRect(window.handle, &area, FALSE);
}

HWND TooltipsOf(WindowRecord& window) {
  if (!window.tooltips) {
    window.tooltips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window.handle,
                                      nullptr, Instance(), nullptr);
  }
  return window.tooltips;
}

// The text is the element's at once (a reader names a button by it); the window's tooltip
// control and the elements' tools wait for the pointer's first move over the window: a menu opens
// a quarter faster without them (the control alone costs as much as painting the default menu's
// rows), and most openings end without a single tip.
void SetElementTooltip(WindowRecord& window, Element& element, const std::string& text) {
  const bool had = !element.tooltip.empty();
  element.tooltip = text;
  if (!window.tooltips || !window.element_tools) return;
  TOOLINFOA tool = ToolOf(window, element);
  tool.lpszText = const_cast<char*>(element.tooltip.c_str());
  SendMessageA(window.tooltips, had ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void LayOutElements(WindowRecord& window) {
  for (const Element& element : window.elements.items) {
    if (element.tooltip.empty() || !window.tooltips) continue;
    TOOLINFOA tool = ToolOf(window, element);
    SendMessageA(window.tooltips, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  InvalidateRect(window.handle, nullptr, FALSE);
}

void ReleaseElements(WindowRecord& window) {
  DisconnectReader(window);
  if (window.hover_timer) KillTimer(window.handle, kHoverTimer);
  window.hover_timer = false;
}

void NotifyElementsBuilt(const WindowRecord& window) {
  NotifyWinEvent(EVENT_OBJECT_REORDER, window.handle, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace ui::win32
