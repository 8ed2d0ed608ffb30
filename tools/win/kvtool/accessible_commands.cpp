// accessible, accessible-do: a window read and driven as a screen reader does it, through
// AccessibleObjectFromWindow, from this process.
#include "tools/win_shared/element_reading.h"
#include "kvtool.h"

namespace kvtool {

using namespace win_shared;

namespace {
constexpr DWORD kStallMs = 5000;
}

int cmd_accessible(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  if (!query || pos != args.size()) return usage_error("accessible <window>");
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  const ElementReading read = read_elements(window, ObjectSource::AccessibleObjectFromWindow, kStallMs);
  if (!read.failure.empty()) return fail("window " + describe(*query) + ": " + read.failure);
  if (!read.answered) return fail("window " + describe(*query) + " gave no accessible object");
  for (const ReadElement& element : read.elements) {
    print_line(std::to_string(element.child) + "\t" + role_name(element.role) + "\t" + rect_text(element.box) + "\t" +
               hex_dword(static_cast<DWORD>(element.state)) + "\t" + escape_field(element.name));
  }
  return 0;
}

int cmd_accessible_at(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  const char* synopsis = "accessible-at <window> <x> <y>";
  if (!query || pos + 2 != args.size()) return usage_error(synopsis);
  const auto x = parse_integer(args[pos], -100000, 100000), y = parse_integer(args[pos + 1], -100000, 100000);
  if (!x || !y) return usage_error(synopsis);
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  std::string failure;
  const long child = hit_test(window, {static_cast<LONG>(*x), static_cast<LONG>(*y)}, kStallMs, &failure);
  if (!failure.empty()) return fail("window " + describe(*query) + ": " + failure);
  print_line(std::to_string(child));
  return 0;
}

int cmd_accessible_do(const Args& args) {
  std::size_t pos = 0;
  const auto query = parse_window_query(args, pos);
  const char* synopsis = "accessible-do <window> <child id> [--after-close]";
  if (!query || pos >= args.size()) return usage_error(synopsis);
  const auto child = parse_integer(args[pos++], 1, 0x10000);
  const bool after = pos < args.size() && args[pos] == "--after-close";
  if (!child || pos + (after ? 1 : 0) != args.size()) return usage_error(synopsis);
  const HWND window = find_unique_window(*query);
  if (!window) return 1;
  std::string after_close;
  const std::string failure = do_default_action(window, static_cast<long>(*child), kStallMs, after ? &after_close : nullptr);
  if (!failure.empty()) return fail("window " + describe(*query) + ": " + failure);
  if (after) print_line("after-close\t" + after_close);
  return 0;
}

}  // namespace kvtool
