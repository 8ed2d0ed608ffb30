// Selecting top-level windows by exact title, class or handle, and reading window texts safely
// (also of windows of other processes, which may hang).
#include "kvtool.h"

#include <algorithm>
#include <cstring>

namespace kvtool {
namespace {

// Generous: a program painting a window of thousands of controls on a loaded machine answers late
// but answers; a dump that gives up says so.
constexpr UINT kTextTimeoutMs = 5000;
constexpr std::size_t kMaxTextLength = 1 << 20;

BOOL CALLBACK collect_window(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

bool matches(HWND window, const WindowQuery& query) {
  if (query.title && window_title(window) != *query.title) return false;
  if (query.class_name && window_class(window) != *query.class_name) return false;
  return true;
}

// Sets *slot from args[pos + 1]; false when the value is missing or the option repeats.
bool take_option_value(const Args& args, std::size_t& pos, std::optional<std::string>& slot) {
  if (slot || pos + 1 >= args.size()) return false;
  slot = args[pos + 1];
  pos += 2;
  return true;
}

}  // namespace

const char* const kWindowSelectorHelp =
    "<window> is a top-level window: a bare exact title, or any of --title <title>, --class <class>,\n"
    "         --hwnd <handle> (all given must match; --hwnd may also name a child window).";

std::optional<WindowQuery> parse_window_query(const Args& args, std::size_t& pos) {
  WindowQuery query;
  std::optional<std::string> handle_text;
  bool any_option = false;
  while (pos < args.size()) {
    const std::string& arg = args[pos];
    std::optional<std::string>* slot = arg == "--title" ? &query.title
                                       : arg == "--class" ? &query.class_name
                                       : arg == "--hwnd"  ? &handle_text
                                                          : nullptr;
    if (!slot) break;
    if (!take_option_value(args, pos, *slot)) return std::nullopt;
    any_option = true;
  }
  if (handle_text) {
    const auto value = parse_machine_word(*handle_text);
    if (!value || *value == 0) return std::nullopt;
    query.handle = reinterpret_cast<HWND>(*value);
  }
  if (any_option) return query;
  // A bare title; one starting with "--" is more likely a misspelt option, so it needs --title.
  if (pos >= args.size() || args[pos].rfind("--", 0) == 0) return std::nullopt;
  query.title = args[pos++];
  return query;
}

std::vector<HWND> find_windows(const WindowQuery& query) {
  std::vector<HWND> candidates;
  if (query.handle) {
    if (IsWindow(query.handle)) candidates.push_back(query.handle);
  } else {
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&candidates));
  }
  std::vector<HWND> found;
  for (HWND window : candidates) {
    if (matches(window, query)) found.push_back(window);
  }
  return found;
}

HWND find_unique_window(const WindowQuery& query) {
  const auto found = find_windows(query);
  if (found.size() == 1) return found[0];
  if (found.empty()) {
    fail("no window " + describe(query));
    return nullptr;
  }
  std::string handles;
  for (HWND window : found) handles += " " + hex_handle(window);
  fail(std::to_string(found.size()) + " windows " + describe(query) + ":" + handles);
  return nullptr;
}

std::string describe(const WindowQuery& query) {
  std::string text;
  if (query.title) text += " titled '" + *query.title + "'";
  if (query.class_name) text += " of class '" + *query.class_name + "'";
  if (query.handle) text += " with handle " + hex_handle(query.handle);
  return text.empty() ? text : text.substr(1);
}

std::string window_title(HWND window) {
  // Not GetWindowTextLengthA: it sends WM_GETTEXTLENGTH, which blocks on a hung window of another
  // process. GetWindowTextA reads the stored title of such windows without asking them.
  std::string text(256, '\0');
  while (true) {
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    if (copied <= 0) return std::string();
    if (static_cast<std::size_t>(copied) + 1 < text.size() || text.size() >= kMaxTextLength) {
      text.resize(std::strlen(text.c_str()));
      return text;
    }
    text.resize(text.size() * 2);  // possibly cut short: retry with more room
  }
}

std::string window_class(HWND window) {
  char name[257] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::optional<std::string> control_text(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == GetCurrentProcessId()) return window_title(window);

  // GetWindowTextA does not ask controls of other processes; WM_GETTEXT does, but the target may
  // hang, hence the time-out. No WM_GETTEXTLENGTH first: sent as ANSI across processes, Wine
  // ignores its time-out. Instead retry with a larger buffer while the text fills it.
  for (std::size_t capacity = 1024;; capacity *= 2) {
    std::string text(capacity, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
      return std::nullopt;
    }
    // Trust neither the count nor the terminator a foreign window procedure hands back.
    text.resize(std::min<std::size_t>(copied, capacity - 1));
    text.resize(std::strlen(text.c_str()));
    if (text.size() + 1 < capacity || capacity >= kMaxTextLength) return text;
  }
}

std::string rect_text(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
         "," + std::to_string(rect.bottom);
}

}  // namespace kvtool
