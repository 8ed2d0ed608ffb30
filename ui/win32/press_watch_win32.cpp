// Presses of a mouse button outside one window, wherever they go: a low-level mouse hook, set
// only while a window needs it. The system calls the hook on the GUI thread while it waits for
// messages, so the hook only queues an event and never holds the input up.
#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace ui {
namespace {

HHOOK g_hook = nullptr;
int g_window = -1;

bool IsPress(WPARAM message) {
  // A low-level hook sees the plain messages only, wherever the press lands.
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_XBUTTONDOWN;
}

LRESULT CALLBACK OnMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && IsPress(message)) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    RECT area = {};
    const win32::WindowRecord* record = win32::FindWindowRecord(g_window);
    if (record && GetWindowRect(record->handle, &area) && !PtInRect(&area, mouse->pt)) {
      win32::PushEventOnce({EventKind::PressOutside, g_window, 0});
    }
  }
  return CallNextHookEx(g_hook, code, message, data);
}

}  // namespace

void WatchPressesOutside(int number) {
  StopWatchingPresses();
  if (!win32::FindWindowRecord(number)) return;
  g_hook = SetWindowsHookExA(WH_MOUSE_LL, OnMouse, GetModuleHandleA(nullptr), 0);
  if (g_hook) g_window = number;
}

void StopWatchingPresses() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_window = -1;
}

namespace win32 {
int PressWatchWindow() { return g_window; }
}  // namespace win32

}  // namespace ui
