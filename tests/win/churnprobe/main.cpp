// What the system alone keeps across the work the program repeats, with nothing of the program
// in it. Each mode repeats one kind of work and prints its private memory as it goes:
//   windows: a menu's worth of windows (a layered top-level window with a pattern-brush
//            background, a column of icon and link controls of its own classes, titles of the
//            standard static class and a tooltip per link) created, shown, painted, destroyed;
//   threads: a background thread with COM ready, as the catalogue refresh starts, doing nothing;
//   helper:  a hidden program whose standard output is read through a pipe to its end, as the
//            catalogue refresh runs the console helper.
//   churnprobe.exe windows <cycles> [links per window (default 100)] [program]
//            with a program's path, its manifest is made active first, so that the standard
//            controls are those of the common controls library version 6, as in the program;
//   churnprobe.exe threads <cycles>
//   churnprobe.exe helper <cycles> <program> [its parameters]
// Prints "cycle<TAB>private bytes" lines, the first before any cycle, then one per tenth.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr char kWindowClass[] = "ChurnProbeWindow";
constexpr char kIconClass[] = "ChurnProbeIcon";
constexpr char kLinkClass[] = "ChurnProbeLink";
constexpr int kRowHeight = 18;
constexpr int kTitleEvery = 12;  // a section title every so many rows, as the menu's columns have

HBRUSH g_background = nullptr;
HBRUSH g_title_brush = nullptr;
HFONT g_font = nullptr;
HICON g_icon = nullptr;

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

LRESULT CALLBACK IconProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  DrawIconEx(dc, 0, 0, g_icon, 16, 16, 0, nullptr, DI_NORMAL);
  EndPaint(window, &paint);
  return 0;
}

LRESULT CALLBACK LinkProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  char text[128];
  const int length = GetWindowTextA(window, text, sizeof text);
  RECT area;
  GetClientRect(window, &area);
  HGDIOBJ old_font = SelectObject(dc, g_font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 128));
  DrawTextA(dc, text, length, &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old_font);
  EndPaint(window, &paint);
  return 0;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(window, &area);
      FillRect(reinterpret_cast<HDC>(wparam), &area, g_background);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wparam), RGB(200, 200, 240));
      return reinterpret_cast<LRESULT>(g_title_brush);
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterClasses() {
  WNDCLASSA window = {};
  window.lpfnWndProc = WindowProcedure;
  window.hInstance = GetModuleHandleA(nullptr);
  window.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window.lpszClassName = kWindowClass;
  WNDCLASSA icon = window;
  icon.lpfnWndProc = IconProcedure;
  icon.lpszClassName = kIconClass;
  WNDCLASSA link = window;
  link.lpfnWndProc = LinkProcedure;
  link.lpszClassName = kLinkClass;
  return RegisterClassA(&window) && RegisterClassA(&icon) && RegisterClassA(&link);
}

// Shared by every cycle, as the program's images and fonts are.
void MakeResources() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP tile = CreateCompatibleBitmap(screen, 64, 64);
  HGDIOBJ old = SelectObject(dc, tile);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) SetPixel(dc, x, y, RGB(200 + x / 2, 220, 200 + y / 2));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  g_background = CreatePatternBrush(tile);
  g_title_brush = CreateSolidBrush(RGB(200, 200, 240));
  g_font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  g_icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

HWND Child(HWND parent, const char* window_class, const char* text, DWORD style, int x, int y, int width) {
  HWND child = CreateWindowExA(0, window_class, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, width,
                               16, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
  return child;
}

void AddTool(HWND tips, HWND parent, HWND link, const char* text) {
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(link);
  tool.lpszText = const_cast<char*>(text);
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void WindowsCycle(int cycle, int links) {
  const int rows = links + links / kTitleEvery + 1;
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, kWindowClass, "churnprobe",
                                WS_POPUP, 16, 0, 242, 40 + rows * kRowHeight, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  SetLayeredWindowAttributes(window, 0, 230, LWA_ALPHA);
  HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  int y = 20;
  for (int i = 0; i < links; ++i) {
    if (i % kTitleEvery == 0) {
      Child(window, "STATIC", " Section", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 5, y, 232);
      y += kRowHeight;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Programme %d (%d)", i, cycle);
    Child(window, kIconClass, "", 0, 5, y, 16);
    HWND link = Child(window, kLinkClass, text, 0, 24, y, 214);
    AddTool(tips, window, link, text);
    y += kRowHeight;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  Pump();
  DestroyWindow(window);  // the tooltip window and the controls go with it
  Pump();
}

// The figure kvtool process-counts reports as private bytes (under Wine the resident anonymous
DWORD WINAPI IdleThread(LPVOID) {
  const HRESULT com = CoInitialize(nullptr);
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

void ThreadsCycle() {
  HANDLE thread = CreateThread(nullptr, 0, IdleThread, nullptr, CREATE_SUSPENDED, nullptr);
  if (!thread) return;
  SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(thread);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

// The program hidden, its output read to the end and thrown away.
void HelperCycle(const std::string& command_line) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inheritable, 0)) return;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string line = command_line;
  PROCESS_INFORMATION started = {};
  const bool ok = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
  CloseHandle(write);
  if (ok) {
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(read, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    }
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
  CloseHandle(read);
}

// memory; the private-usage field stays 0 there).
SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

int Count(const char* text, int largest) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value > 0 && value <= largest ? static_cast<int>(value) : -1;
}

void Report(int cycle) {
  std::printf("%d\t%lu\n", cycle, static_cast<unsigned long>(PrivateBytes()));
  std::fflush(stdout);
}

void Repeat(int cycles, const std::function<void(int)>& cycle) {
  Report(0);
  const int every = cycles >= 10 ? cycles / 10 : 1;
  for (int i = 1; i <= cycles; ++i) {
    cycle(i);
    if (i % every == 0 || i == cycles) Report(i);
  }
}

// The manifest of a program (resource 1) made active for the rest of the run.
bool ActivateManifestOf(const char* program) {
  ACTCTXA context = {};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = program;
  context.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE handle = CreateActCtxA(&context);
  ULONG_PTR cookie = 0;
  return handle != INVALID_HANDLE_VALUE && ActivateActCtx(handle, &cookie);
}

bool WindowsReady() {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&classes) || !RegisterClasses()) return false;
  MakeResources();
  return true;
}

std::string HelperCommandLine(int argc, char** argv) {
  std::string line = std::string("\"") + argv[3] + "\"";
  for (int i = 4; i < argc; ++i) line += std::string(" ") + argv[i];
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  const char* mode = argc >= 3 ? argv[1] : "";
  const int cycles = argc >= 3 ? Count(argv[2], 1000000) : -1;
  if (cycles > 0 && std::strcmp(mode, "windows") == 0 && argc <= 5) {
    const int links = argc >= 4 ? Count(argv[3], 2000) : 100;
    if (argc == 5 && !ActivateManifestOf(argv[4])) {
      std::fprintf(stderr, "churnprobe: no manifest in %s\n", argv[4]);
      return 1;
    }
    if (links < 0 || !WindowsReady()) return 1;
    Repeat(cycles, [links](int cycle) { WindowsCycle(cycle, links); });
    return 0;
  }
  if (cycles > 0 && std::strcmp(mode, "threads") == 0 && argc == 3) {
    Repeat(cycles, [](int) { ThreadsCycle(); });
    return 0;
  }
  if (cycles > 0 && std::strcmp(mode, "helper") == 0 && argc >= 4) {
    const std::string line = HelperCommandLine(argc, argv);
    Repeat(cycles, [&line](int) { HelperCycle(line); });
    return 0;
  }
  std::fprintf(stderr,
               "usage: churnprobe.exe windows <cycles> [links per window] [program]\n"
               "       churnprobe.exe threads <cycles>\n"
               "       churnprobe.exe helper <cycles> <program> [its parameters]\n");
  return 1;
}
