// What the desktop tells every top-level window. The end of the session cannot wait for the
// event loop: Windows may end the process as soon as the notice is answered, so the handler runs
// inside it. Screen changes, environment changes and a new taskbar become one event each,
// however many of the program's windows hear of them.
#include <windows.h>

#include <cstring>
#include <utility>

#include "ui/events.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {

std::function<void()>& SessionEndHandler() {
  static std::function<void()> handler;
  return handler;
}

// Each of the program's windows hears of the end; the handler runs once for it.
bool g_session_end_handled = false;

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

// One event of a kind in the queue at a time.
void PushDesktopEvent(EventKind kind) {
  Event event;
  event.kind = kind;
  win32::PushEventOnce(event);
}

// WM_SETTINGCHANGE naming the environment: lParam is the sender's text (copied into this
// process by the system, ANSI for our ANSI windows) or null; compared without regard to case
// and never read past its end or past the length of "Environment".
bool NamesEnvironment(LPARAM lparam) {
  static constexpr char kEnvironment[] = "Environment";
  const auto* text = reinterpret_cast<const char*>(lparam);
  return text && _strnicmp(text, kEnvironment, sizeof kEnvironment) == 0;
}

void OnSessionEnd() {
  if (g_session_end_handled) return;
  g_session_end_handled = true;
  if (SessionEndHandler()) SessionEndHandler()();
}

}  // namespace

void SetSessionEndHandler(std::function<void()> handler) { SessionEndHandler() = std::move(handler); }

namespace win32 {

bool OnDesktopNotice(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_QUERYENDSESSION:
      g_session_end_handled = false;  // a new end is asked for
      *result = TRUE;
      return true;
    case WM_ENDSESSION:
      if (wparam) OnSessionEnd();
      return true;
    case WM_DISPLAYCHANGE:
      PushDesktopEvent(EventKind::ScreenChanged);
      return false;  // the system's own handling goes on
    case WM_SETTINGCHANGE:
      if (wparam == SPI_SETWORKAREA) PushDesktopEvent(EventKind::ScreenChanged);
      // The user's or the system's variables changed (setx, an installer): see
      // services::RefreshEnvironmentFromLogon, called for this event.
      if (NamesEnvironment(lparam)) PushDesktopEvent(EventKind::EnvironmentChanged);
      return false;
  }
  if (message != 0 && message == TaskbarCreatedMessage()) {
    PushDesktopEvent(EventKind::TaskbarCreated);
    return true;
  }
  return false;
}

}  // namespace win32
}  // namespace ui
