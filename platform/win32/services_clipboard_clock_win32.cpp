// Clipboard and clock: putting text on the clipboard, the local wall-clock time, pausing.
#include <windows.h>

#include <cstring>

#include "platform/calendar.h"
#include "platform/services.h"

namespace services {
namespace {

constexpr int kClipboardOpenAttempts = 5;  // another program may hold the clipboard briefly
constexpr DWORD kClipboardRetryMs = 10;

bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < kClipboardOpenAttempts; ++attempt) {
    if (attempt > 0) Sleep(kClipboardRetryMs);
    if (OpenClipboard(owner)) return true;
  }
  return false;
}

// A movable global block holding the text and its terminating zero.
HGLOBAL GlobalCopy(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return nullptr;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

}  // namespace

bool SetClipboardText(const std::string& text) {
  // Windows documents that SetClipboardData fails after EmptyClipboard on a clipboard opened
  // without an owner window, so a hidden message-only window owns it while the text is set.
  // The text stays on the clipboard after that window is gone.
  HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
  bool stored = false;
  if (OpenClipboardPatiently(owner)) {
    if (EmptyClipboard()) {
      HGLOBAL block = GlobalCopy(text);
      stored = block && SetClipboardData(CF_TEXT, block);
      if (block && !stored) GlobalFree(block);  // the system owns the block only once it is set
    }
    CloseClipboard();
  }
  if (owner) DestroyWindow(owner);
  return stored;
}

std::int64_t LocalSeconds() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return platform::SecondsSince1970(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

std::int64_t MonotonicSeconds() { return static_cast<std::int64_t>(GetTickCount64() / 1000); }

void SleepMilliseconds(int milliseconds) { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

}  // namespace services
