// kvtool: the Windows-side helper of the end-to-end test scripts.
// Every command takes its arguments (without the command name) and returns the process exit code:
// 0 on success, 1 on failure after a one-line message on stderr.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvtool {

using Args = std::vector<std::string>;

// --- output.cpp -------------------------------------------------------------------------------

// Prints "kvtool: <message>" on stderr and returns the failure exit code.
int fail(const std::string& message);
// Prints "kvtool: usage: kvtool <synopsis>" on stderr and returns the failure exit code.
int usage_error(const char* synopsis);
// Writes text followed by a single '\n' (stdout is binary: no CR is added).
void print_line(const std::string& text);
// Makes a free text safe for one TAB-separated field: \ TAB LF CR become \\ \t \n \r,
// other control characters \xNN. Everything else is kept as is.
std::string escape_field(const std::string& text);
std::string hex_handle(HWND window);       // "0x1a2b"
std::string hex_dword(DWORD value);        // "0x00cf0000"
std::string hex_bytes(const std::vector<std::uint8_t>& bytes);  // "0a1bff"
std::string last_error_text();             // "error 5"

// --- parse.cpp ---------------------------------------------------------------------------------

// Whole-string integer: decimal (optionally negative) or 0x hex. Rejects anything else and
// values outside [min, max].
std::optional<std::int64_t> parse_integer(const std::string& text, std::int64_t min, std::int64_t max);
// Pointer-sized value (WPARAM, LPARAM, HWND): decimal, optionally negative, or 0x hex; values that
// do not fit this build's pointer size are rejected.
std::optional<std::uintptr_t> parse_machine_word(const std::string& text);
// Pairs of hex digits, optionally separated by ' ', ',' or ':' between bytes ("0a1b", "0a 1b").
std::optional<std::vector<std::uint8_t>> parse_hex_bytes(const std::string& text);
// Comma-separated decimal or 0x integers in [0, max]; the empty string is the empty list.
std::optional<std::vector<std::uint32_t>> parse_integer_list(const std::string& text, std::uint32_t max);

// --- registry_layout.cpp -----------------------------------------------------------------------

// MRUListEx: little-endian DWORD indices, then 0xFFFFFFFF.
std::vector<std::uint8_t> mru_list_ex_bytes(const std::vector<std::uint32_t>& indices);
// RecentDocs item; see registry_layout.cpp for the layout. nullopt when a name does not fit.
std::optional<std::vector<std::uint8_t>> recent_doc_bytes(const std::string& document_name,
                                                          const std::string& shortcut_name);

// --- window_query.cpp --------------------------------------------------------------------------

// Which top-level window(s) a command is about. All given criteria must match.
struct WindowQuery {
  std::optional<std::string> title;       // exact, case-sensitive
  std::optional<std::string> class_name;  // exact, case-sensitive
  HWND handle = nullptr;                  // --hwnd
};

// Consumes a window selector from args[pos...]: either "--title T", "--class C", "--hwnd H"
// (any combination), or a bare first argument taken as the title. Advances pos.
std::optional<WindowQuery> parse_window_query(const Args& args, std::size_t& pos);
extern const char* const kWindowSelectorHelp;
// All existing top-level windows matching the query, in Z order.
std::vector<HWND> find_windows(const WindowQuery& query);
// The single matching window; on none or several, prints why and returns nullptr.
HWND find_unique_window(const WindowQuery& query);
std::string describe(const WindowQuery& query);

std::string window_title(HWND window);   // GetWindowTextA, any length
std::string window_class(HWND window);
// Text of a window, also of another process (WM_GETTEXT with a time-out); nullopt on time-out.
std::optional<std::string> control_text(HWND window);
std::string rect_text(const RECT& rect);  // "left,top,right,bottom"

// --- command groups ----------------------------------------------------------------------------

int cmd_lnk(const Args& args);
int cmd_readlnk(const Args& args);
int cmd_url(const Args& args);

int cmd_regset(const Args& args);
int cmd_regget(const Args& args);
int cmd_regdel(const Args& args);

int cmd_find(const Args& args);
int cmd_post(const Args& args);
int cmd_send(const Args& args);
int cmd_windows(const Args& args);
int cmd_wait_window(const Args& args);
int cmd_wait_gone(const Args& args);
int cmd_pid(const Args& args);
int cmd_state(const Args& args);
int cmd_zorder(const Args& args);

int cmd_dump(const Args& args);
int cmd_accessible(const Args& args);
int cmd_accessible_do(const Args& args);
int cmd_accessible_at(const Args& args);

int cmd_number(const Args& args);
int cmd_wait_number(const Args& args);
int cmd_wait_build(const Args& args);
int cmd_answer_watch(const Args& args);

int cmd_msgbox_text(const Args& args);
int cmd_msgbox_click(const Args& args);

int cmd_clipboard(const Args& args);
int cmd_setclipboard(const Args& args);
int cmd_alive(const Args& args);
int cmd_wait_exit(const Args& args);
int cmd_process_counts(const Args& args);
int cmd_wallpaper(const Args& args);
int cmd_broadcast_environment(const Args& args);
int cmd_display_mode(const Args& args);
int cmd_monitors(const Args& args);

}  // namespace kvtool
