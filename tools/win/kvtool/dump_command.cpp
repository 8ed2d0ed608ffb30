// dump: geometry, styles and texts of a window and of all its descendant controls, so that tests
// can check a layout without screenshots.
#include "kvtool.h"

#include <oleacc.h>

#include "tools/win_shared/element_reading.h"

namespace kvtool {

using namespace win_shared;
namespace {

struct ChildDump {
  std::vector<std::string> lines;
  std::optional<HWND> unreadable;  // first control whose text could not be fetched
  ULONGLONG waited_ms = 0;         // how long it was waited for
};

// Rectangle of a control relative to the client area of its own parent.
RECT rect_in_parent(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

BOOL CALLBACK dump_child(HWND control, LPARAM context) {
  auto& dump = *reinterpret_cast<ChildDump*>(context);
  const ULONGLONG asked = GetTickCount64();
  const auto text = control_text(control);
  if (!text) {
    dump.unreadable = control;
    dump.waited_ms = GetTickCount64() - asked;
    return FALSE;
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
  dump.lines.push_back(std::to_string(GetDlgCtrlID(control)) + "\t" + escape_field(window_class(control)) + "\t" +
                       rect_text(rect_in_parent(control)) + "\t" + hex_dword(style) + "\t" + hex_dword(ex_style) +
                       "\t" + (IsWindowVisible(control) ? "1" : "0") + "\t" + escape_field(*text));
  return TRUE;
}

// The style a child window of the element's kind had: what scripts read from the fourth and
// fifth columns (visible, disabled) stays where it was.
DWORD element_style(const ReadElement& element) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (!(element.state & STATE_SYSTEM_INVISIBLE)) style |= WS_VISIBLE;
  if (element.state & STATE_SYSTEM_UNAVAILABLE) style |= WS_DISABLED;
  if (element.role == ROLE_SYSTEM_STATICTEXT) style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
  return style;
}

std::string element_line(const ReadElement& element, POINT origin) {
  const RECT box = {element.box.left - origin.x, element.box.top - origin.y, element.box.right - origin.x,
                    element.box.bottom - origin.y};
  const bool visible = !(element.state & STATE_SYSTEM_INVISIBLE);
  return std::to_string(element.child - 1) + "\t" + class_of_role(element.role) + "\t" + rect_text(box) + "\t" +
         hex_dword(element_style(element)) + "\t" + hex_dword(0) + "\t" + (visible ? "1" : "0") + "\t" +
         escape_field(element.name);
}

std::vector<std::string> window_lines(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  return {
      "handle\t" + hex_handle(window),
      "title\t" + escape_field(window_title(window)),
      "class\t" + escape_field(window_class(window)),
      "rect\t" + rect_text(rect),
      "client\t" + std::to_string(client.right - client.left) + "," + std::to_string(client.bottom - client.top),
      "origin\t" + std::to_string(origin.x) + "," + std::to_string(origin.y),
      "style\t" + hex_dword(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE))),
      "exstyle\t" + hex_dword(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE))),
  };
}

}  // namespace

int cmd_dump(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos != args.size()) return usage_error("dump <window>");
  const HWND window = find_unique_window(*query);
  if (!window) return 1;

  // Collect everything first: a half-printed dump must not look like a complete one.
  const auto header = window_lines(window);
  ChildDump children;
  EnumChildWindows(window, dump_child, reinterpret_cast<LPARAM>(&children));
  if (children.unreadable) {
    const HWND control = *children.unreadable;
    return fail("window " + describe(*query) + " (" + hex_handle(window) + "): control " +
                std::to_string(GetDlgCtrlID(control)) + " (" + window_class(control) + ", " + hex_handle(control) +
                ") gave no answer to WM_GETTEXT within " + std::to_string(children.waited_ms) + " ms");
  }
  // The elements the window draws itself, read as a screen reader reads them.
  constexpr DWORD kStallMs = 2000;
  const ElementReading drawn = read_elements(window, ObjectSource::OwnObjectOnly, kStallMs);
  if (!drawn.failure.empty()) {
    return fail("window " + describe(*query) + " (" + hex_handle(window) + "): " + drawn.failure);
  }
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  for (const ReadElement& element : drawn.elements) children.lines.push_back(element_line(element, origin));
  if (!IsWindow(window)) return fail("window vanished while being dumped");
  for (const auto& line : header) print_line(line);
  for (const auto& line : children.lines) print_line(line);
  return 0;
}

}  // namespace kvtool
