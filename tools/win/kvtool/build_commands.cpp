// number / wait-number / wait-build / answer-watch: what the program has done so far, when it has
// finished building a window, and how quickly its thread answers. The program publishes numbers
// as window properties. The program numbers each finished build of its windows (a window is
// built hidden and shown at the end): the window's own number is its property
// "Kestrivalume.Build", the latest of the process is "Kestrivalume.LastBuild" on each of its
// windows.
#include "kvtool.h"

#include <algorithm>
#include <cstdio>

namespace kvtool {
namespace {

constexpr char kBuildProperty[] = "Kestrivalume.Build";
constexpr char kLastBuildProperty[] = "Kestrivalume.LastBuild";
constexpr DWORD kPollIntervalMs = 20;
constexpr DWORD kWatchIntervalMs = 50;
constexpr UINT kWatchTimeoutMs = 10000;

std::uintptr_t property_number(HWND window, const char* name) {
  return reinterpret_cast<std::uintptr_t>(GetPropA(window, name));
}

// Milliseconds the window's thread took to answer WM_NULL, or nothing when it did not answer
// within the time-out (or the window went away).
std::optional<ULONGLONG> answer_time(HWND window, UINT timeout_ms) {
  const ULONGLONG start = GetTickCount64();
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &result)) return std::nullopt;
  return GetTickCount64() - start;
}

// The first visible window of the query whose build is later than `after`.
HWND built_window(const WindowQuery& query, std::uintptr_t after) {
  for (HWND window : find_windows(query)) {
    if (IsWindowVisible(window) && property_number(window, kBuildProperty) > after) return window;
  }
  return nullptr;
}

std::string latest_builds(const WindowQuery& query) {
  std::string text;
  for (HWND window : find_windows(query)) {
    text += " " + hex_handle(window) + " build " + std::to_string(property_number(window, kBuildProperty)) +
            (IsWindowVisible(window) ? " shown" : " hidden");
  }
  return text.empty() ? " none" : text;
}

}  // namespace

int cmd_number(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos + 1 != args.size()) return usage_error("number <window> <property>");
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  print_line(std::to_string(property_number(window, args[pos].c_str())));
  return 0;
}

int cmd_wait_number(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  const auto least = query && pos + 3 == args.size() ? parse_integer(args[pos + 1], 0, INT32_MAX) : std::nullopt;
  const auto timeout = least ? parse_integer(args[pos + 2], 0, 24LL * 3600 * 1000) : std::nullopt;
  if (!timeout) return usage_error("wait-number <window> <property> <at least> <ms>");
  const std::string& name = args[pos];
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(*timeout);
  std::uintptr_t seen = 0;
  for (;;) {
    for (HWND window : find_windows(*query)) {
      seen = property_number(window, name.c_str());
      if (seen >= static_cast<std::uintptr_t>(*least)) {
        print_line(std::to_string(seen));
        return 0;
      }
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(kPollIntervalMs);
  }
  return fail(name + " of window " + describe(*query) + " still " + std::to_string(seen) + " after " +
              std::to_string(*timeout) + " ms, not " + std::to_string(*least));
}

int cmd_wait_build(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  const auto after = query && pos + 2 == args.size() ? parse_integer(args[pos], 0, INT32_MAX) : std::nullopt;
  const auto timeout = after ? parse_integer(args[pos + 1], 0, 24LL * 3600 * 1000) : std::nullopt;
  if (!timeout) return usage_error("wait-build <window> <build> <ms>");
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + static_cast<ULONGLONG>(*timeout);
  for (;;) {
    if (HWND window = built_window(*query, static_cast<std::uintptr_t>(*after))) {
      // Shown is the end of the build; the answer says the thread is back in its loop.
      const ULONGLONG now = GetTickCount64();
      const UINT left = static_cast<UINT>(now < deadline ? deadline - now : 0) + 1;
      if (!answer_time(window, left)) {
        const std::string build = std::to_string(property_number(window, kBuildProperty));
        return fail("window " + describe(*query) + " built (" + build + ") but its thread gave no answer within " +
                    std::to_string(GetTickCount64() - start) + " ms");
      }
      print_line(std::to_string(property_number(window, kBuildProperty)));
      return 0;
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(kPollIntervalMs);
  }
  return fail("no build of window " + describe(*query) + " after build " + std::to_string(*after) + " within " +
              std::to_string(*timeout) + " ms; windows:" + latest_builds(*query));
}

// The floor of the watch: a window on a thread of this tool that does nothing but answer. What
// its answers take is what the machine itself takes to deliver a message (the scheduler, Wine's
// server), which a loaded machine stretches as much as the program's.
DWORD WINAPI run_floor_window(void* created) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "KvtoolAnswerFloor";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, window_class.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                window_class.hInstance, nullptr);
  *static_cast<HWND*>(created) = window;
  MSG message;
  while (window && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

HWND start_floor_window() {
  HWND window = nullptr;
  HANDLE thread = CreateThread(nullptr, 0, run_floor_window, &window, 0, nullptr);
  if (!thread) return nullptr;
  CloseHandle(thread);
  for (int tries = 0; tries < 500 && !window; ++tries) Sleep(10);
  return window;
}

// Prints "watching", then sends WM_NULL every 50 ms until the stop file exists or the window is
// gone, then prints
// "answers <count> slowest <ms> at <ms since start> floor <ms>" and one "slow <at> <ms>" line for
// each answer that took longer than the threshold (a missing answer counts as the time-out).
// The floor is the slowest answer of this tool's own idle window, asked right after each one.
int cmd_answer_watch(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  const auto threshold = query && pos + 2 == args.size() ? parse_integer(args[pos], 0, 60000) : std::nullopt;
  if (!threshold) return usage_error("answer-watch <window> <threshold ms> <stop file>");
  const std::string stop_file = args[pos + 1];
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  const HWND floor_window = start_floor_window();
  print_line("watching");  // from here on every freeze is seen
  const ULONGLONG start = GetTickCount64();
  unsigned count = 0;
  ULONGLONG slowest = 0, slowest_at = 0, floor = 0;
  std::vector<std::string> slow;
  while (IsWindow(window) && GetFileAttributesA(stop_file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const ULONGLONG at = GetTickCount64() - start;
    const ULONGLONG took = answer_time(window, kWatchTimeoutMs).value_or(kWatchTimeoutMs);
    if (!IsWindow(window)) break;  // it went away while being asked: no answer to count
    ++count;
    if (took > slowest) slowest = took, slowest_at = at;
    if (took > static_cast<ULONGLONG>(*threshold)) {
      slow.push_back("slow " + std::to_string(at) + " " + std::to_string(took));
    }
    if (floor_window) floor = std::max(floor, answer_time(floor_window, kWatchTimeoutMs).value_or(kWatchTimeoutMs));
    Sleep(kWatchIntervalMs);
  }
  print_line("answers " + std::to_string(count) + " slowest " + std::to_string(slowest) + " at " +
             std::to_string(slowest_at) + " floor " + std::to_string(floor));
  for (const std::string& line : slow) print_line(line);
  return 0;
}

}  // namespace kvtool
