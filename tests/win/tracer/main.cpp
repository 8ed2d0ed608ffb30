// A stand-in program for the launching tests: each run appends one line to a trace file,
//   <working folder> TAB <command line> CR LF
// and with --window it shows a window and stays until that window is closed. With --hang too,
// the window is minimised and the program then stops reading its messages for good, as a
// program that no longer answers. Each --env NAME adds a field to the line: the value of
// that environment variable, or <unset> when the tracer's environment has none.
//   tracer.exe [--trace <file>] [--window [<title>]] [--hang] [--env <name>]... [anything else, traced only]
// Without --trace the file is tracer.log beside the executable, so that runs started by the
// shell (an association's command, a shortcut) are traced too. Linked as a windowed program, like
// the programs it stands in for: started by another windowed program it gets no console.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kDefaultTitle[] = "Tracer";
constexpr char kClassName[] = "TracerWindow";

struct Options {
  std::string trace_file;
  bool window = false;
  bool hang = false;
  std::vector<std::string> variables;  // --env
  std::string title = kDefaultTitle;
};

std::string BesideExecutable(const char* file_name) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + file_name;
}

Options ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0 && i + 1 < argc) {
      options.trace_file = argv[++i];
    } else if (std::strcmp(argv[i], "--window") == 0) {
      options.window = true;
      if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) options.title = argv[++i];
    } else if (std::strcmp(argv[i], "--env") == 0 && i + 1 < argc) {
      options.variables.push_back(argv[++i]);
    } else if (std::strcmp(argv[i], "--hang") == 0) {
      options.hang = true;
    }
  }
  if (options.trace_file.empty()) options.trace_file = BesideExecutable("tracer.log");
  return options;
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder, length < MAX_PATH ? length : 0);
}

// Appends in one write, so that tracers running at the same time do not mix their lines.
bool AppendLine(const std::string& file, const std::string& line) {
  const HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                  written == line.size();
  CloseHandle(handle);
  return ok;
}

// TAB and the variable's value, or TAB <unset>.
std::string VariableField(const std::string& name) {
  char value[32768];
  SetLastError(ERROR_SUCCESS);  // an empty value also gives 0
  const DWORD length = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
  if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return "\t<unset>";
  return "\t" + std::string(value, length < sizeof value ? length : 0);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

int ShowWindowUntilClosed(const std::string& title, bool hang) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class)) return 1;
  const HWND window = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 300,
                                      320, 200, nullptr, nullptr, window_class.hInstance, nullptr);
  if (!window) return 1;
  if (hang) {
    ShowWindow(window, SW_MINIMIZE);
    for (;;) Sleep(INFINITE);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ReadOptions(argc, argv);
  std::string line = CurrentFolder() + "\t" + GetCommandLineA();
  for (const std::string& name : options.variables) line += VariableField(name);
  if (!AppendLine(options.trace_file, line + "\r\n")) return 2;
  return options.window ? ShowWindowUntilClosed(options.title, options.hang) : 0;
}
