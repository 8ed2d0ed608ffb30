// Standard output and timing of the console helper.
#include "console/win32/system_win32.h"

#include <mmsystem.h>

namespace console {

StandardOutput::StandardOutput() : handle_(GetStdHandle(STD_OUTPUT_HANDLE)) {
  DWORD mode = 0;
  is_console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode);
}

// A pipe takes the whole line in one write; the loop only matters if a write comes back short.
void StandardOutput::Write(const std::string& bytes) const {
  if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
  const char* next = bytes.data();
  DWORD left = static_cast<DWORD>(bytes.size());
  while (left > 0) {
    DWORD written = 0;
    const BOOL ok = is_console_ ? WriteConsoleA(handle_, next, left, &written, nullptr)
                                : WriteFile(handle_, next, left, &written, nullptr);
    if (!ok || written == 0) return;  // the reader is gone; nothing else to do
    next += written;
    left -= written;
  }
}

void PauseBeforeEntry() {
  timeBeginPeriod(1);
  Sleep(10);
  timeEndPeriod(1);
}

std::uint64_t MonotonicMilliseconds() { return GetTickCount64(); }

}  // namespace console
