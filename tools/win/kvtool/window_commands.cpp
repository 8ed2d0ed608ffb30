// find / post / send / windows / wait-window / wait-gone / pid / state: locating top-level windows,
// sending them messages and reading how they are shown.
#include "kvtool.h"

namespace kvtool {
namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollIntervalMs = 50;

constexpr const char* kMessageSynopsis = "<window> close | command <id> | message <msg> <wparam> <lparam>";

struct Message {
  UINT id = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

// Parses the message part of post/send starting at args[pos]; nullopt on any leftover or bad number.
std::optional<Message> parse_message(const Args& args, std::size_t pos) {
  const std::size_t left = args.size() - pos;
  if (left == 1 && args[pos] == "close") return Message{WM_CLOSE, 0, 0};
  if (left == 2 && args[pos] == "command") {
    // WM_COMMAND as sent by a menu item or accelerator: notification code 0, no control.
    const auto id = parse_integer(args[pos + 1], 0, 0xffff);
    if (!id) return std::nullopt;
    return Message{WM_COMMAND, static_cast<WPARAM>(*id), 0};
  }
  if (left == 4 && args[pos] == "registered") {
    // A message known by its registered name, as the shell broadcasts "TaskbarCreated".
    const UINT id = RegisterWindowMessageA(args[pos + 1].c_str());
    const auto wparam = parse_machine_word(args[pos + 2]);
    const auto lparam = parse_machine_word(args[pos + 3]);
    if (id == 0 || !wparam || !lparam) return std::nullopt;
    return Message{id, static_cast<WPARAM>(*wparam), static_cast<LPARAM>(*lparam)};
  }
  if (left == 4 && args[pos] == "message") {
    const auto id = parse_integer(args[pos + 1], 0, 0xffffffffLL);
    const auto wparam = parse_machine_word(args[pos + 2]);
    const auto lparam = parse_machine_word(args[pos + 3]);
    if (!id || !wparam || !lparam) return std::nullopt;
    return Message{static_cast<UINT>(*id), static_cast<WPARAM>(*wparam), static_cast<LPARAM>(*lparam)};
  }
  return std::nullopt;
}

// Selector plus message for post and send; nullptr window after a message on failure.
struct Delivery {
  HWND window = nullptr;
  Message message;
};

std::optional<Delivery> parse_delivery(const Args& args, const char* synopsis) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  const auto message = query ? parse_message(args, pos) : std::nullopt;
  if (!message) {
    usage_error(synopsis);
    return std::nullopt;
  }
  const HWND window = find_unique_window(*query);
  if (!window) return std::nullopt;
  return Delivery{window, *message};
}

// Selector followed by a time-out in milliseconds.
bool parse_wait(const Args& args, WindowQuery& query, DWORD& timeout_ms) {
  std::size_t pos = 0;
  const auto parsed = parse_window_query(args, pos);
  if (!parsed || pos + 1 != args.size()) return false;
  const auto timeout = parse_integer(args[pos], 0, 24LL * 3600 * 1000);
  if (!timeout) return false;
  query = *parsed;
  timeout_ms = static_cast<DWORD>(*timeout);
  return true;
}

// Polls until want_present matches whether a window exists; returns the last match list.
bool wait_for(const WindowQuery& query, DWORD timeout_ms, bool want_present, std::vector<HWND>& found) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (true) {
    found = find_windows(query);
    if (found.empty() != want_present) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollIntervalMs);
  }
}

void print_handles(const std::vector<HWND>& windows) {
  for (HWND window : windows) print_line(hex_handle(window));
}

BOOL CALLBACK print_visible_window(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  RECT rect = {};
  GetWindowRect(window, &rect);
  print_line(hex_handle(window) + "\t" + std::to_string(pid) + "\t" + escape_field(window_class(window)) + "\t" +
             rect_text(rect) + "\t" + escape_field(window_title(window)));
  return TRUE;
}

}  // namespace

int cmd_find(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos != args.size()) return usage_error("find <window>");
  const auto found = find_windows(*query);
  if (found.empty()) return fail("no window " + describe(*query));
  print_handles(found);
  return 0;
}

int cmd_post(const Args& args) {
  const std::string synopsis = std::string("post ") + kMessageSynopsis;
  const auto delivery = parse_delivery(args, synopsis.c_str());
  if (!delivery) return 1;
  const Message& m = delivery->message;
  if (!PostMessageA(delivery->window, m.id, m.wparam, m.lparam)) {
    return fail("PostMessage failed: " + last_error_text());
  }
  return 0;
}

int cmd_send(const Args& args) {
  const std::string synopsis = std::string("send ") + kMessageSynopsis;
  const auto delivery = parse_delivery(args, synopsis.c_str());
  if (!delivery) return 1;
  const Message& m = delivery->message;
  DWORD_PTR result = 0;
  SetLastError(ERROR_SUCCESS);
  if (!SendMessageTimeoutA(delivery->window, m.id, m.wparam, m.lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result)) {
    if (GetLastError() == ERROR_TIMEOUT || GetLastError() == ERROR_SUCCESS) return fail("no answer within 5 s");
    return fail("SendMessageTimeout failed: " + last_error_text());
  }
  print_line(std::to_string(static_cast<LRESULT>(result)));
  return 0;
}

int cmd_windows(const Args& args) {
  if (!args.empty()) return usage_error("windows");
  EnumWindows(print_visible_window, 0);
  return 0;
}

int cmd_wait_window(const Args& args) {
  WindowQuery query;
  DWORD timeout_ms = 0;
  if (!parse_wait(args, query, timeout_ms)) return usage_error("wait-window <window> <milliseconds>");
  std::vector<HWND> found;
  if (!wait_for(query, timeout_ms, true, found)) {
    return fail("no window " + describe(query) + " after " + std::to_string(timeout_ms) + " ms");
  }
  print_handles(found);
  return 0;
}

int cmd_wait_gone(const Args& args) {
  WindowQuery query;
  DWORD timeout_ms = 0;
  if (!parse_wait(args, query, timeout_ms)) return usage_error("wait-gone <window> <milliseconds>");
  std::vector<HWND> found;
  if (!wait_for(query, timeout_ms, false, found)) {
    return fail("window " + describe(query) + " still there after " + std::to_string(timeout_ms) + " ms");
  }
  return 0;
}

int cmd_pid(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos != args.size()) return usage_error("pid <window>");
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(window, &pid) || pid == 0) return fail("window vanished");
  print_line(std::to_string(pid));
  return 0;
}

// Takes a window out of the topmost band (as a newly made taskbar can leave it), or puts it in.
int cmd_zorder(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos + 1 != args.size() || (args[pos] != "topmost" && args[pos] != "notopmost"))
    return usage_error("zorder <window> topmost|notopmost");
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  const HWND band = args[pos] == "topmost" ? HWND_TOPMOST : HWND_NOTOPMOST;
  return SetWindowPos(window, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? 0 : 1;
}

int cmd_state(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos != args.size()) return usage_error("state <window>");
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  print_line(std::string("visible\t") + (IsWindowVisible(window) ? "1" : "0"));
  print_line(std::string("iconic\t") + (IsIconic(window) ? "1" : "0"));
  print_line(std::string("foreground\t") + (GetForegroundWindow() == window ? "1" : "0"));
  print_line(std::string("topmost\t") + ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "1" : "0"));
  return 0;
}

}  // namespace kvtool
