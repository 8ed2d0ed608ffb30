// Starting programs, switching to windows and the taskbar's commands.
#include <windows.h>

#include <vector>

#include "platform/services.h"
#include "platform/win32/window_handle_win32.h"

namespace services {

bool StartProgram(const std::string& command_line, const std::string& working_folder) {
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');  // CreateProcessA may write into the command line
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                      working_folder.empty() ? nullptr : working_folder.c_str(), &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void SwitchToWindow(WindowHandle handle) {
  HWND window = win32::ToHwnd(handle);
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  // Asynchronous: ShowWindow on another program's window waits for that program, and one that
  // no longer answers would freeze this one. Nor is its input attached to ours for the same
  // reason: the program that received the last input (the click on the menu) may set the
  // foreground window by itself.
  if (GetWindowPlacement(window, &placement) && placement.showCmd == SW_SHOWMINIMIZED) {
    ShowWindowAsync(window, SW_RESTORE);
  }
  SetForegroundWindow(window);
}

void SendTaskbarCommand(int command) {
  // Posted: the taskbar may be busy or run a dialog of its own inside the command's handling.
  if (HWND taskbar = FindWindowA("Shell_TrayWnd", "")) PostMessageA(taskbar, WM_COMMAND, command, 0);
}

}  // namespace services
