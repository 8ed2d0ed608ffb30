// Processes: the 32-bit-on-64-bit check, ending processes, the process list, the executable
// behind a window and the single-instance mutex.
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/paths.h"
#include "platform/services.h"
#include "platform/win32/library_function_win32.h"
#include "platform/win32/window_handle_win32.h"

namespace services {
namespace {

using win32::LibraryFunction;

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetModuleFileNameExFunction = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using QueryFullProcessImageNameFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);

// PROCESS_QUERY_LIMITED_INFORMATION, which older headers lack.
constexpr DWORD kProcessQueryLimitedInformation = 0x1000;

// Some systems fill szExeFile with a full path; only the file name is wanted.
std::string FileNameOnly(const char* path, std::size_t capacity) {
  return platform::FileNamePart(std::string(path, strnlen(path, capacity)));
}

// GetModuleFileNameExA is looked up at run time: older systems ship it only in PSAPI.DLL.
std::string ImagePathOf(HANDLE process) {
  HMODULE psapi = LoadLibraryA("PSAPI.DLL");
  if (!psapi) return "";
  std::string path;
  if (auto module_file_name = LibraryFunction<GetModuleFileNameExFunction>(psapi, "GetModuleFileNameExA")) {
    char buffer[MAX_PATH] = {};
    const DWORD length = module_file_name(process, nullptr, buffer, MAX_PATH);
    if (length > 0) path.assign(buffer, strnlen(buffer, MAX_PATH));
  }
  FreeLibrary(psapi);
  return path;
}

}  // namespace

bool Is32BitOn64BitWindows() {
  // Looked up at run time: systems without 64-bit support may not have the function.
  HMODULE kernel = GetModuleHandleA("Kernel32.dll");
  if (!kernel) return false;
  auto is_wow64_process = LibraryFunction<IsWow64ProcessFunction>(kernel, "IsWow64Process");
  BOOL wow64 = FALSE;
  return is_wow64_process && is_wow64_process(GetCurrentProcess(), &wow64) && wow64;
}

ProcessId CurrentProcessId() { return GetCurrentProcessId(); }

bool TerminateProcessById(ProcessId id, unsigned exit_code) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
  if (!process) return false;
  const bool ended = TerminateProcess(process, exit_code) != FALSE;
  CloseHandle(process);
  return ended;
}

void EndProcessAtOnce(unsigned exit_code) {
  TerminateProcess(GetCurrentProcess(), exit_code);
  ExitProcess(exit_code);  // not reached: ending the own process does not return
}

std::vector<RunningProcess> RunningProcesses() {
  std::vector<RunningProcess> processes;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    processes.push_back({entry.th32ProcessID, FileNameOnly(entry.szExeFile, sizeof entry.szExeFile)});
  }
  CloseHandle(snapshot);
  return processes;
}

std::string ProcessImagePath(WindowHandle window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(win32::ToHwnd(window), &process_id);
  if (process_id == 0) return "";
  // Full access is refused for an elevated program; the limited query right is granted for it.
  HMODULE kernel = GetModuleHandleA("Kernel32.dll");
  if (auto query = LibraryFunction<QueryFullProcessImageNameFunction>(kernel, "QueryFullProcessImageNameA")) {
    HANDLE process = OpenProcess(kProcessQueryLimitedInformation, FALSE, process_id);
    if (!process) return "";
    char buffer[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    std::string path;
    if (query(process, 0, buffer, &length) && length < MAX_PATH) path.assign(buffer, length);
    CloseHandle(process);
    return path;
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
  if (!process) return "";
  std::string path = ImagePathOf(process);
  CloseHandle(process);
  return path;
}

void HoldNamedMutex(const std::string& name) {
  // The handle is deliberately never closed: the mutex must exist until the process ends,
  // which is how other instances see that this one runs.
  CreateMutexA(nullptr, TRUE, name.c_str());
}

}  // namespace services
