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
  if (GetWindowPlacement(window, &placement) && placement.showCmd == SW_SHOWMINIMIZED) ShowWindow(window, SW_RESTORE);
  // Windows lets a program take the foreground only while it shares the input of the thread
  // that has it.
  const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD owner = GetWindowThreadProcessId(window, nullptr);
  if (foreground != owner) AttachThreadInput(foreground, owner, TRUE);
  SetForegroundWindow(window);
  if (foreground != owner) AttachThreadInput(foreground, owner, FALSE);
}

void SendTaskbarCommand(int command) {
  if (HWND taskbar = FindWindowA("Shell_TrayWnd", "")) SendMessageA(taskbar, WM_COMMAND, command, 0);
}

}  // namespace services
