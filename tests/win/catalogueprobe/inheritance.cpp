// What a helper started through the hidden-program service holds of the program's handles:
//   inherit <folder>   opens two files for writing and keeps them open while a helper runs:
//                      "own" through ui::OpenFileUninherited (as every file of the program is
//                      opened), "control" through CreateFile with an inheritable handle (what
//                      the C runtime's files were). Prints "parent own-inheritable <0|1>", then
//                      the helper's lines: "own <held|free>", "control <held|free>" and
//                      "job <0|1>" (whether it runs in a job), then "replaced <0|1>" (the own
//                      file closed and put in its place, as a save ends).
// The helper is this program again, started as the console helper with CATALOGUEPROBE_HELPER=
// handles; the handle values and paths pass in CATALOGUEPROBE_HANDLES.
#include <windows.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/services.h"
#include "tests/win/catalogueprobe/probe.h"
#include "ui/open_file.h"
#include "ui/replace_file.h"

namespace probe {
namespace {

// Whether `value`, a handle number in this process, is open on the file at `path`.
bool HoldsFile(unsigned long long value, const std::string& path) {
  const HANDLE handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value));
  BY_HANDLE_FILE_INFORMATION held = {};
  if (!GetFileInformationByHandle(handle, &held)) return false;
  const HANDLE named = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION wanted = {};
  const bool same = GetFileInformationByHandle(named, &wanted) &&
                    held.dwVolumeSerialNumber == wanted.dwVolumeSerialNumber &&
                    held.nFileIndexHigh == wanted.nFileIndexHigh && held.nFileIndexLow == wanted.nFileIndexLow;
  CloseHandle(named);
  return same;
}

std::string Pass(const std::string& name, HANDLE handle, const std::string& path) {
  char value[32];
  std::snprintf(value, sizeof value, "%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(handle)));
  return name + " " + value + " " + path + "\n";
}

}  // namespace

// Each line of CATALOGUEPROBE_HANDLES: name, handle number (hex), path.
int PlayHandleHolder() {
  const char* passed = std::getenv("CATALOGUEPROBE_HANDLES");
  std::string lines = passed ? passed : "";
  for (std::size_t start = 0; start < lines.size();) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    const std::string line = lines.substr(start, end - start);
    start = end + 1;
    const std::size_t first = line.find(' ');
    const std::size_t second = line.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const unsigned long long value = std::strtoull(line.substr(first + 1, second - first - 1).c_str(), nullptr, 16);
    std::printf("%s %s\n", line.substr(0, first).c_str(), HoldsFile(value, line.substr(second + 1)) ? "held" : "free");
  }
  BOOL in_job = FALSE;
  IsProcessInJob(GetCurrentProcess(), nullptr, &in_job);
  std::printf("job %d\n", in_job ? 1 : 0);
  std::fflush(stdout);
  return 0;
}

int PrintInheritance(const std::string& folder) {
  const std::string own_path = folder + "\\own.txt";
  const std::string control_path = folder + "\\control.txt";
  std::FILE* own = ui::OpenFileUninherited(own_path + ".tmp", "wb");
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  const HANDLE control = CreateFileA(control_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                     CREATE_ALWAYS, 0, nullptr);
  if (!own || control == INVALID_HANDLE_VALUE) return 1;
  std::fputs("saved", own);
  std::fflush(own);
  const HANDLE own_handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(own)));
  DWORD flags = 0;
  GetHandleInformation(own_handle, &flags);
  std::printf("parent own-inheritable %d\n", (flags & HANDLE_FLAG_INHERIT) ? 1 : 0);

  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  SetEnvironmentVariableA("CATALOGUEPROBE_HELPER", "handles");
  SetEnvironmentVariableA("CATALOGUEPROBE_HANDLES", (Pass("own", own_handle, own_path + ".tmp") +
                                                     Pass("control", control, control_path)).c_str());
  std::string output;
  const bool ran = services::RunHiddenWithOutput(self, "-startmenu", 10000,
                                                 [&output](const std::string& bytes) { output += bytes; });
  std::fputs(output.c_str(), stdout);
  // The save's last steps, the file still open in no helper.
  std::fclose(own);
  std::printf("replaced %d\n", ui::ReplaceFileWith(own_path + ".tmp", own_path) ? 1 : 0);
  CloseHandle(control);
  return ran ? 0 : 1;
}

}  // namespace probe
