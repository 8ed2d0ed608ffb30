// Shared by the Windows-side test tools. Reading the elements a window draws itself, as a screen reader reads them: through the
// window's own IAccessible (WM_GETOBJECT, client object). The COM calls run on a thread of their
// own that is abandoned when the window's thread stops answering.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace win_shared {

struct ReadElement {
  long child = 0;   // child id (the program's control number + 1)
  long role = 0;    // ROLE_SYSTEM_...
  long state = 0;   // STATE_SYSTEM_...
  RECT box = {};    // screen pixels
  std::string name;  // ANSI code page
};

struct ElementReading {
  bool answered = false;      // the window answered WM_GETOBJECT with an object of its own
  std::vector<ReadElement> elements;
  std::string failure;        // empty when the reading is complete
};

enum class ObjectSource {
  OwnObjectOnly,          // WM_GETOBJECT; a window without an object of its own has no elements
  AccessibleObjectFromWindow,  // what a screen reader calls (the system's object when none)
};

// Reads every child of the window's client object, giving up once one call waits longer than
// `stall_ms`.
ElementReading read_elements(HWND window, ObjectSource source, DWORD stall_ms);

// Performs a child's default action (accDoDefaultAction); the failure, or empty. With
// `after_close`, then waits up to 20 s for the window to be destroyed and asks the same object
// for its children again, giving the answer there ("0x80010108" is RPC_E_DISCONNECTED).
std::string do_default_action(HWND window, long child, DWORD stall_ms, std::string* after_close = nullptr);

// The names of the last `count` children (all when 0), last first: a look at the end of a long
// list without reading all of it. Empty when the window has no object of its own.
std::vector<std::string> last_child_names(HWND window, std::size_t count, DWORD stall_ms);

// The child at a point of the screen (accHitTest): its id, 0 for the window itself, -1 for
// nothing there; `failure` says why when it could not be asked.
long hit_test(HWND window, POINT at, DWORD stall_ms, std::string* failure);

// The class name a child window of that role had before the window drew its elements.
const char* class_of_role(long role);
std::string role_name(long role);

}  // namespace win_shared
