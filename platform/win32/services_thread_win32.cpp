// The background thread: started at below-normal priority with COM ready for the shell calls it
// makes, asked whether it runs and waited for. It is never ended from outside: it may hold a lock.
#include <windows.h>
#include <objbase.h>

#include "platform/services.h"

namespace services {
namespace {

HANDLE ToHandle(ThreadHandle thread) { return reinterpret_cast<HANDLE>(thread); }

DWORD WINAPI ThreadStart(LPVOID parameter) {
  void (*body)() = reinterpret_cast<void (*)()>(parameter);
  // The shell's icon lookups expect COM on the calling thread.
  const HRESULT com = CoInitialize(nullptr);
  body();
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace

ThreadHandle StartBackgroundThread(void (*body)()) {
  // Created suspended so that it never runs a moment at normal priority.
  HANDLE thread = CreateThread(nullptr, 0, ThreadStart, reinterpret_cast<LPVOID>(body), CREATE_SUSPENDED, nullptr);
  if (!thread) return 0;
  SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(thread);
  return reinterpret_cast<ThreadHandle>(thread);
}

bool ThreadRunning(ThreadHandle thread) {
  return thread != 0 && WaitForSingleObject(ToHandle(thread), 0) == WAIT_TIMEOUT;
}

bool WaitForThread(ThreadHandle thread, int timeout_ms) {
  if (thread == 0) return true;
  return WaitForSingleObject(ToHandle(thread), timeout_ms > 0 ? static_cast<DWORD>(timeout_ms) : 0) != WAIT_TIMEOUT;
}

void ReleaseThread(ThreadHandle thread) {
  if (thread != 0) CloseHandle(ToHandle(thread));
}

}  // namespace services
