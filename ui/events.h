#pragma once
// The one event wait of the program. Every window, control and popup menu of the runtime reports
// through it, addressed by the small numbers the program gives them.

#include <functional>

namespace ui {

enum class EventKind {
  None,            // the wait timed out
  LeftButtonUp,    // left button released over a window's own surface (not over a control)
  RightButtonUp,   // right button released over a window's own surface
  MenuItem,        // an item of a popup menu was chosen; `item` is its number
  Control,         // a control was clicked, toggled, moved or changed; `item` is its number
  WindowClose,     // the close box, Alt+F4 or WM_CLOSE; the window stays until the program closes it;
                   // `item` is kClosedByUser for the system's close command, 0 for a plain WM_CLOSE
  WindowMoved,     // a window that asked for it (ReportMoves) was moved
  ScreenChanged,   // the screen's size, a monitor or the work area changed (window -1)
  TaskbarCreated,  // the taskbar was made anew (the desktop shell restarted; window -1)
  PressOutside,    // a mouse button pressed outside the window that WatchPressesOutside names
  EnvironmentChanged,  // the user's or the system's environment variables changed (window -1)
};

// WindowClose from the system's close command (Alt+F4, the close box, the window menu): the user
// closing whatever window is active, which another program's WM_CLOSE never is.
constexpr int kClosedByUser = 1;

struct Event {
  EventKind kind = EventKind::None;
  int window = -1;  // window number; for MenuItem the window that owns the popup menu
  int item = 0;     // control or menu-item number
};

// Waits up to timeout_ms for the next event, running the windows' message handling meanwhile.
Event WaitEvent(int timeout_ms);

// Whether the Shift key was held when the event last returned by WaitEvent happened (a click
// is judged by the keys at the moment of the click, not when the program gets to it).
bool ShiftWasDown();

// Called when the session really ends (log off, shut down), from inside the system's notice and
// before the process may be ended: what must not be lost is saved there, at once, since the
// event loop may never run again. The runtime agrees to every end of the session it is asked
// about. An empty handler does nothing.
void SetSessionEndHandler(std::function<void()> handler);

// Pumps pending messages without waiting (keeps windows responsive during long work).
void PumpMessages();

// Waits for the given time while the windows keep painting; the events that arrive meanwhile
// are kept for the next WaitEvent (the program's own logic does not run).
void Pause(int milliseconds);

}  // namespace ui
