// msgbox-text / msgbox-click: read and answer message boxes and other dialogs.
#include "kvtool.h"

namespace kvtool {
namespace {

constexpr const char* kDialogClass = "#32770";

struct Control {
  HWND handle = nullptr;
  std::string kind;  // "static" or "button"
  std::string text;
};

struct Controls {
  std::vector<Control> items;
  bool unreadable = false;
};

bool is_picture_static(HWND control) {
  const auto type = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & SS_TYPEMASK;
  return type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE;
}

// Visible text statics and buttons, in Z order.
BOOL CALLBACK collect_control(HWND control, LPARAM context) {
  auto& controls = *reinterpret_cast<Controls*>(context);
  if (!IsWindowVisible(control)) return TRUE;
  const std::string class_name = window_class(control);
  std::string kind;
  if (lstrcmpiA(class_name.c_str(), "Static") == 0 && !is_picture_static(control)) kind = "static";
  if (lstrcmpiA(class_name.c_str(), "Button") == 0) kind = "button";
  if (kind.empty()) return TRUE;
  const auto text = control_text(control);
  if (!text) {
    controls.unreadable = true;
    return FALSE;
  }
  controls.items.push_back({control, kind, *text});
  return TRUE;
}

// A bare title means a dialog: message boxes share their title with their owner window.
std::optional<WindowQuery> dialog_query(const Args& args, std::size_t& pos) {
  auto query = parse_window_query(args, pos);
  if (query && !query->class_name && !query->handle) query->class_name = kDialogClass;
  return query;
}

std::optional<Controls> dialog_controls(HWND dialog) {
  Controls controls;
  EnumChildWindows(dialog, collect_control, reinterpret_cast<LPARAM>(&controls));
  if (controls.unreadable) return std::nullopt;
  return controls;
}

// "&Oui" reads "Oui"; "&&" is a literal ampersand.
std::string without_mnemonics(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

// Buttons whose text equals the wanted one exactly, or else once the & markers are removed.
std::vector<Control> matching_buttons(const Controls& controls, const std::string& wanted) {
  std::vector<Control> exact;
  std::vector<Control> loose;
  for (const auto& control : controls.items) {
    if (control.kind != "button") continue;
    if (control.text == wanted) exact.push_back(control);
    else if (without_mnemonics(control.text) == wanted) loose.push_back(control);
  }
  return exact.empty() ? loose : exact;
}

std::string button_list(const Controls& controls) {
  std::string list;
  for (const auto& control : controls.items) {
    if (control.kind == "button") list += (list.empty() ? "'" : ", '") + control.text + "'";
  }
  return list.empty() ? "none" : list;
}

}  // namespace

int cmd_msgbox_text(const Args& args) {
  std::size_t pos = 0;
  const auto query = dialog_query(args, pos);
  if (!query || pos != args.size()) return usage_error("msgbox-text <window>");
  const HWND dialog = find_unique_window(*query);
  if (!dialog) return 1;
  const auto controls = dialog_controls(dialog);
  if (!controls) return fail("a control of the dialog did not answer WM_GETTEXT");
  for (const auto& control : controls->items) print_line(control.kind + "\t" + escape_field(control.text));
  return 0;
}

int cmd_msgbox_click(const Args& args) {
  std::size_t pos = 0;
  const auto query = dialog_query(args, pos);
  if (!query || pos + 1 != args.size()) return usage_error("msgbox-click <window> <button text>");
  const HWND dialog = find_unique_window(*query);
  if (!dialog) return 1;
  const auto controls = dialog_controls(dialog);
  if (!controls) return fail("a control of the dialog did not answer WM_GETTEXT");

  const auto buttons = matching_buttons(*controls, args[pos]);
  if (buttons.empty()) return fail("no visible button '" + args[pos] + "'; buttons: " + button_list(*controls));
  if (buttons.size() > 1) return fail(std::to_string(buttons.size()) + " buttons '" + args[pos] + "'");
  const HWND button = buttons[0].handle;
  // A user cannot press a disabled button, so neither may a test.
  if (!IsWindowEnabled(button)) return fail("button '" + args[pos] + "' is disabled");
  // What the button itself sends its parent when clicked; unlike BM_CLICK it does not depend on
  // the dialog being the active window.
  const WPARAM wparam = MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
  if (!PostMessageA(GetParent(button), WM_COMMAND, wparam, reinterpret_cast<LPARAM>(button))) {
    return fail("PostMessage failed: " + last_error_text());
  }
  return 0;
}

}  // namespace kvtool
