// A resource module for the shown-names tests (names.rc). Its code must never run in the
// program, which reads the module as data only: loaded to run, it leaves a marker file
// naming the process that loaded it, which the tests look for.
#include <windows.h>

namespace {

constexpr char kMarkerFile[] = "C:\\kvnames-ran.txt";

void LeaveMarker() {
  char process[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, process, MAX_PATH);
  HANDLE file = CreateFileA(kMarkerFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, process, length, &written, nullptr);
  WriteFile(file, "\r\n", 2, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker();
  return TRUE;
}
