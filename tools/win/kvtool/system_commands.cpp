// clipboard / setclipboard / alive / wallpaper / broadcast-environment: small probes of the
// desktop session.
#include "kvtool.h"

#include <cstdio>
#include <cstring>

namespace kvtool {
namespace {

constexpr int kClipboardOpenAttempts = 40;  // another program may hold it for a moment
constexpr DWORD kClipboardRetryMs = 50;

bool open_clipboard(HWND owner) {
  for (int attempt = 0; attempt < kClipboardOpenAttempts; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(kClipboardRetryMs);
  }
  return false;
}

// Copies CF_TEXT out of the open clipboard; nullopt when there is none.
std::optional<std::string> clipboard_text() {
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return std::nullopt;
  const SIZE_T size = GlobalSize(data);
  if (size == 0) return std::nullopt;
  const auto* bytes = static_cast<const char*>(GlobalLock(data));
  if (!bytes) return std::nullopt;
  std::string text(bytes, strnlen(bytes, size));  // never past the block, terminated or not
  GlobalUnlock(data);
  return text;
}

HGLOBAL global_copy(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

}  // namespace

int cmd_clipboard(const Args& args) {
  if (!args.empty()) return usage_error("clipboard");
  if (!open_clipboard(nullptr)) return fail("cannot open the clipboard: " + last_error_text());
  const auto text = clipboard_text();
  CloseClipboard();
  if (!text) return fail("no text on the clipboard");
  std::fwrite(text->data(), 1, text->size(), stdout);  // exactly, without a newline
  return 0;
}

int cmd_setclipboard(const Args& args) {
  if (args.size() != 1) return usage_error("setclipboard <text>");
  // SetClipboardData needs an owner window once the clipboard has been emptied.
  HWND owner = CreateWindowExA(0, "STATIC", "kvtool clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  if (!owner) return fail("cannot create the clipboard owner window: " + last_error_text());
  bool stored = false;
  if (open_clipboard(owner)) {
    HGLOBAL block = EmptyClipboard() ? global_copy(args[0]) : nullptr;
    stored = block && SetClipboardData(CF_TEXT, block);
    if (block && !stored) GlobalFree(block);  // ownership passes to the system only on success
    CloseClipboard();
  }
  DestroyWindow(owner);
  return stored ? 0 : fail("cannot set the clipboard: " + last_error_text());
}

int cmd_alive(const Args& args) {
  const auto pid = args.size() == 1 ? parse_integer(args[0], 1, 0xffffffffLL) : std::nullopt;
  if (!pid) return usage_error("alive <pid>");
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(*pid));
  if (!process) {
    if (GetLastError() == ERROR_INVALID_PARAMETER) return fail("process " + args[0] + " is not running");
    return fail("cannot open process " + args[0] + ": " + last_error_text());
  }
  // The exit code alone would mistake a process that ended with code 259 for a running one.
  DWORD exit_code = 0;
  const bool running = GetExitCodeProcess(process, &exit_code) && exit_code == STILL_ACTIVE &&
                       WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  if (running) return 0;
  return fail("process " + args[0] + " has ended with exit code " + std::to_string(exit_code));
}

int cmd_wait_exit(const Args& args) {
  const auto pid = args.size() == 2 ? parse_integer(args[0], 1, 0xffffffffLL) : std::nullopt;
  const auto timeout = args.size() == 2 ? parse_integer(args[1], 0, 0x7fffffffLL) : std::nullopt;
  if (!pid || !timeout) return usage_error("wait-exit <pid> <milliseconds>");
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(*pid));
  if (!process) return fail("cannot open process " + args[0] + ": " + last_error_text());
  // The handle keeps the exit code readable after the process has ended.
  const DWORD waited = WaitForSingleObject(process, static_cast<DWORD>(*timeout));
  DWORD exit_code = 0;
  const bool ended = waited == WAIT_OBJECT_0 && GetExitCodeProcess(process, &exit_code);
  CloseHandle(process);
  if (!ended) return fail("process " + args[0] + " still running");
  print_line(std::to_string(exit_code));
  return 0;
}

int cmd_wallpaper(const Args& args) {
  if (args.size() > 1) return usage_error("wallpaper [file]");
  if (args.empty()) {
    char path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) {
      return fail("cannot read the wallpaper: " + last_error_text());
    }
    print_line(path);
    return 0;
  }
  std::string path = args[0];
  if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
    return fail("cannot set the wallpaper: " + last_error_text());
  }
  return 0;
}

// Changes the primary display's mode the way a user's resolution change does: Wine changes the
// X screen to match and sends WM_DISPLAYCHANGE to every top-level window.
int cmd_display_mode(const Args& args) {
  if (args.size() != 2) return usage_error("display-mode <width> <height>");
  const auto width = parse_integer(args[0], 1, 65535);
  const auto height = parse_integer(args[1], 1, 65535);
  if (!width || !height) return usage_error("display-mode <width> <height>");
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(*width);
  mode.dmPelsHeight = static_cast<DWORD>(*height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG result = ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr);
  if (result != DISP_CHANGE_SUCCESSFUL) return fail("display mode not changed: " + std::to_string(result));
  return 0;
}

namespace {

BOOL CALLBACK count_monitor(HMONITOR, HDC, LPRECT, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

// What the program sees of the monitors: their count, the primary one's rectangle and the
// virtual desktop's size.
int cmd_monitors(const Args& args) {
  if (!args.empty()) return usage_error("monitors");
  int count = 0;
  EnumDisplayMonitors(nullptr, nullptr, count_monitor, reinterpret_cast<LPARAM>(&count));
  MONITORINFO primary = {};
  primary.cbSize = sizeof primary;
  if (!GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary)) {
    return fail("no primary monitor: " + last_error_text());
  }
  const RECT& r = primary.rcMonitor;
  print_line("monitors " + std::to_string(count) + " primary " + std::to_string(r.left) + "," + std::to_string(r.top) +
             "," + std::to_string(r.right) + "," + std::to_string(r.bottom) + " desktop " +
             std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + "," +
             std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
  return 0;
}

// As setx and the System Properties do after writing a variable: every top-level window hears
// of it, each given up to 5 s (one that does not answer is skipped).
int cmd_broadcast_environment(const Args& args) {
  if (!args.empty()) return usage_error("broadcast-environment");
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                           SMTO_ABORTIFHUNG, 5000, &answer)) {
    return fail("cannot broadcast the environment change: " + last_error_text());
  }
  return 0;
}

}  // namespace kvtool
