#pragma once
// Top-level windows addressed by number. A window is created hidden, filled with controls, then
// shown; closing destroys it with all its controls.
// Places on the screen (a window's position, the pointer) are in the screen's own pixels. A
// window's inner size and everything inside it are in 96-DPI units: the runtime draws the window
// at the DPI of the monitor it is on, scaling them by the rule of ui/scale.h.
#include <cstdint>
#include <string>

namespace ui {

// Colours are 0x00BBGGRR, red in the low byte.
using Rgb = std::uint32_t;

enum class Frame {
  Borderless,  // popup without caption or border
  CloseBox,    // caption with only a close box, fixed size
};

struct WindowShape {
  int number = 0;
  std::string title;
  int x = 0, y = 0;                // outer top-left corner on the screen (screen pixels)
  int inner_width = 0, inner_height = 0;  // 96-DPI units
  Frame frame = Frame::Borderless;
  bool centred = false;            // ignore x, y and centre on the screen
  bool topmost = false;
  bool tool_window = false;        // kept off the taskbar
  bool drop_shadow = false;
  // Never made the active window by a click, by being shown or by the system when another
  // window closes; it takes the foreground only when told to (BringToFront, a popup menu).
  bool no_activate = false;
  int owner = -1;                  // window number of the owner, or -1
  // Texts, links, pictures, icon and image buttons and containers are drawn by the window itself
  // rather than being a child window each, and screen readers read them from the window.
  bool draws_elements = false;
};

[[nodiscard]] bool OpenWindow(const WindowShape& shape);
void CloseWindow(int number);
// Gives the window up without taking it off the screen yet: its number is free at once (a new
// window may take it), its title and published numbers go, its events are dropped, and it is
// destroyed by DestroyRetiredWindows. A window built in its place thus takes the foreground from
// a window of the program, which Windows allows, instead of from whatever came to the front when
// the old one went.
void RetireWindow(int number);
void DestroyRetiredWindows();
bool WindowExists(int number);
// The window exists and its build is finished: it has been shown.
bool WindowShown(int number);

void ShowWindow(int number);
// Topmost and the foreground window. Windows grants the foreground only to the process that
// received the last input (or that the foreground process started, or once the lock has timed
// out); false when it refused, the window then being active inside the program only.
bool BringToFront(int number);
void KeepOnTop(int number);         // topmost again, without taking the foreground
void MoveWindowTo(int number, int x, int y);
void SetInnerSize(int number, int inner_width, int inner_height);
void InnerSize(int number, int* inner_width, int* inner_height);
// The DPI the window is drawn at (96 for a window that does not exist).
int WindowDpi(int number);
// The DPI of the monitor at a place on the screen: the DPI a window opened there is drawn at.
int DpiAt(int x, int y);
void OuterPosition(int number, int* x, int* y);
// Screen position of the inner area's top-left corner.
void InnerOrigin(int number, int* x, int* y);
// From now on every move of the window is reported as a WindowMoved event.
void ReportMoves(int number);

// A number that other programs can read on the window (a window property of that name), so that
// they can wait for what the program has done instead of for a fixed time. Showing a window
// publishes its build's number ("Kestrivalume.Build") and, on every window, the latest
// ("Kestrivalume.LastBuild").
void PublishNumber(int number, const char* name, std::uintptr_t value);

void SetBackgroundColour(int number, Rgb colour);
// Paints the window with a stored image as a pattern anchored at the inner top-left corner.
void SetBackgroundImage(int number, int image);

// Translucency of a layered window: alpha 0-255, or one colour drawn as a hole. False when the
// system lacks layered windows (the window then stays opaque).
bool SetWindowAlpha(int number, int alpha);
bool SetWindowColourKey(int number, Rgb key);

// The foreground window, the one the user works in: `number` is the program's number for it, or
// kOtherProgram; `id` tells one window from another (0 while no window is in the foreground,
// which happens for a moment while the system switches).
constexpr int kOtherProgram = -1;
struct Foreground {
  int number = kOtherProgram;
  std::uintptr_t id = 0;
};
Foreground CurrentForeground();

// From now on every press of a mouse button outside the window, in any program, is reported as
// a PressOutside event of the window (a low-level mouse hook): what tells that the user went on
// elsewhere when the window could not take the foreground. Ends with StopWatchingPresses or when
// the window closes.
void WatchPressesOutside(int number);
void StopWatchingPresses();

// Whether a mouse button (left, right or middle, as the hardware reports it) is held down now.
bool MouseButtonHeld();

// Screen position of the mouse pointer. False, with x and y left as they were, when it cannot be
// read: while a secure desktop (the lock screen, a consent prompt) is shown.
[[nodiscard]] bool CursorPosition(int* x, int* y);

// Long work on the GUI thread (building a window of many controls, preparing pictures) calls
// this between its steps: the messages other programs have sent to the program's windows (a
// screen reader's WM_GETOBJECT, a broadcast, a test's probe) are answered, at most every 20 ms,
// as in the event loop, so that none of them waits on the whole work. Posted messages and input
// wait for the loop.
void AnswerSentMessages();

// Releases every window, control, image and font (the normal end of the program).
void ShutDown();

}  // namespace ui
