#include <windows.h>

#include "ui/events.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {
// Dispatches every queued message; window procedures turn the interesting ones into events.
void DispatchPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
}  // namespace

Event WaitEvent(int timeout_ms) {
  const DWORD start = GetTickCount();
  Event event;
  for (;;) {
    DispatchPending();
    if (win32::PopEvent(&event)) return event;
    const DWORD waited = GetTickCount() - start;
    if (waited >= static_cast<DWORD>(timeout_ms)) return Event{};
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout_ms) - waited, QS_ALLINPUT);
  }
}

bool ShiftWasDown() { return win32::ShiftAtLastEvent(); }

void PumpMessages() { DispatchPending(); }

void Pause(int milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    DispatchPending();
    const DWORD waited = GetTickCount() - start;
    if (waited >= static_cast<DWORD>(milliseconds)) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - waited, QS_ALLINPUT);
  }
}

}  // namespace ui
