#pragma once
// What the Win32 runtime knows about the windows, controls, images and fonts it created,
// indexed by the program's numbers. GUI thread only.
#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/elements.h"
#include "ui/events.h"

namespace ui::win32 {

enum class ControlKind { Text, Image, IconButton, Link, Button, CheckBox, Slider, DropDown, GroupBox, Container };

// A control draws no text: it has no font.
constexpr int kNoFont = -1;

struct ControlRecord {
  HWND handle = nullptr;
  ControlKind kind = ControlKind::Text;
  Box box;               // in 96-DPI units, as the program placed it
  int font = kNoFont;    // the font number it draws with (kDefaultFont for the system's)
  bool has_colours = false;
  TextColours colours;
  HBRUSH background_brush = nullptr;  // solid brush for opaque coloured controls
  bool has_tooltip = false;
};

struct WindowRecord {
  HWND handle = nullptr;
  int dpi = 96;  // the DPI the window and its controls are drawn at (see ui/scale.h)
  int inner_width = 0, inner_height = 0;  // in 96-DPI units
  std::map<int, ControlRecord> controls;
  HBRUSH background = nullptr;  // owned; null paints the system window colour
  HWND tooltips = nullptr;
  bool report_moves = false;  // WM_MOVE becomes a WindowMoved event
  std::vector<std::string> properties;  // names of the numbers published on it (PublishNumber)
  bool shown = false;                   // built: ShowWindow was called
  // Texts, links, pictures, buttons and rectangles drawn by the window itself (no child window
  // each); the other kinds of control stay child windows.
  bool draws_elements = false;
  ElementList elements;
  // The elements' tools are in the tooltips: added (the tooltips made if need be) at the
  // pointer's first move over the window.
  bool element_tools = false;
  bool hover_timer = false;
  // Shared with the accessible objects the window gave out (one per WM_GETOBJECT): false once
  // the window is destroyed, when they answer every call "disconnected".
  std::shared_ptr<bool> readers_connected;
};

std::map<int, WindowRecord>& Windows();
WindowRecord* FindWindowRecord(int number);
int WindowNumberOf(HWND handle);  // top-level windows only; -1 if not ours
// Windows given up but not destroyed yet (RetireWindow): still on the screen.
std::vector<WindowRecord>& RetiredWindows();
// The record of a window of the program, retired or not, by its handle; null if not ours.
WindowRecord* RecordOfHandle(HWND handle);
ControlRecord* FindControl(int window, int control);
HWND ControlHandle(int window, int control);

// A number no live control of any window uses, from kFirstAutoNumber up (16-bit, as
// WM_COMMAND carries control numbers in a word).
int NextAutoNumber();

// The window whose outside presses are watched (WatchPressesOutside), or -1.
int PressWatchWindow();

// Queues an event with the Shift key's state at this moment.
void PushEvent(Event event);
// The same, unless an equal event is queued already.
void PushEventOnce(Event event);
bool PopEvent(Event* event);
// The Shift key's state queued with the event PopEvent returned last.
bool ShiftAtLastEvent();

HINSTANCE Instance();
// The DPI of the window a control lies in (96 when it is not the program's).
int DpiOfControl(HWND control);
// The font of that number made for `dpi`; kDefaultFont (or an unknown number) gives the system's
// default GUI font at that DPI.
HFONT FontHandle(int number, int dpi);
// A stored image as drawn at `dpi`: a built-in picture's version for the nearest DPI it is
// drawn for, any other image as it was stored. Null when the number holds no such image.
HBITMAP BitmapHandle(int number, int dpi);
HICON IconHandle(int number, int dpi);
// Puts every control of the window at its box scaled for the window's DPI and gives each its
// font for that DPI (after the window moved to a monitor of another DPI).
void LayOutControls(WindowRecord& window);

}  // namespace ui::win32

namespace ui::win32 {

// Window classes of the runtime's own controls (registered on first use).
constexpr char kImageClass[] = "KestrivalumeImage";
constexpr char kIconButtonClass[] = "KestrivalumeIconButton";
constexpr char kLinkClass[] = "KestrivalumeLink";
bool RegisterOwnControlClasses();
// Hover colour of a link control.
void SetLinkHoverColour(HWND link, COLORREF colour);
// Image shown by an image or icon-button control: a stored image, or an icon handle owned
// by someone else.
void SetShownImage(HWND control, int image);
void SetShownIconHandle(HWND control, HICON icon);

// What the desktop tells every top-level window: the end of the session, a change of the screen,
// work area or environment variables, a new taskbar. True when the message was one of them;
// `result` is its answer.
bool OnDesktopNotice(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

// --- drawn elements (elements_win32.cpp, element_paint_win32.cpp, element_reader_win32.cpp) ---

// The element of that number in a window that draws its elements, or null.
Element* DrawnElement(int window, int control);
// Whether a control of this kind becomes an element in a window that draws its elements.
bool IsDrawnKind(ControlKind kind);
// Handles the messages by which the window draws its elements, follows the pointer over them
// and answers screen readers. True when the message was handled; `result` is its answer.
bool OnElementMessage(WindowRecord& window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
// Paints the window: background and every element the paint area touches, off the screen first.
void PaintDrawnWindow(WindowRecord& window);
// Paints an element again (after a change of what it shows).
void RepaintElement(const WindowRecord& window, const Element& element);
// The element's box in the window's pixels.
RECT ElementRect(const WindowRecord& window, const Element& element);
// The element's tip: its text at once, its tool in the window's tooltips once the pointer moved
// over the window.
void SetElementTooltip(WindowRecord& window, Element& element, const std::string& text);
// After a change of DPI: the tools follow their elements; everything is painted again.
void LayOutElements(WindowRecord& window);
// Before the window is destroyed: its readers are cut off, its timer stopped.
void ReleaseElements(WindowRecord& window);
// After a finished build: screen readers are told the children changed.
void NotifyElementsBuilt(const WindowRecord& window);
// The window's tooltip control, made on first use.
HWND TooltipsOf(WindowRecord& window);

// The answer to WM_GETOBJECT for the client area: the window's own accessible object.
LRESULT AnswerGetObject(WindowRecord& window, WPARAM wparam, LPARAM lparam);
void DisconnectReader(WindowRecord& window);
// Posted by a reader's default action; wparam is the element's number.
constexpr UINT kElementClickMessage = WM_APP + 0x2E1;

void ReleaseImages();
void ReleaseFonts();
void ReleasePopupMenus();

}  // namespace ui::win32
