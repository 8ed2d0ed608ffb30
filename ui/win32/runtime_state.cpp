#include "ui/win32/runtime_state.h"

namespace ui::win32 {

namespace {
struct QueuedEvent {
  Event event;
  bool shift = false;
};
std::deque<QueuedEvent> g_events;
bool g_shift_at_last_event = false;
int g_next_auto = kFirstAutoNumber;

bool NumberInUse(int number) {
  for (const auto& [window, record] : Windows()) {
    if (record.controls.count(number) || FindElement(record.elements, number)) return true;
  }
  return false;
}
}  // namespace

std::map<int, WindowRecord>& Windows() {
  static std::map<int, WindowRecord> windows;
  return windows;
}

WindowRecord* FindWindowRecord(int number) {
  auto found = Windows().find(number);
  return found == Windows().end() ? nullptr : &found->second;
}

int WindowNumberOf(HWND handle) {
  for (const auto& [number, record] : Windows()) {
    if (record.handle == handle) return number;
  }
  return -1;
}

std::vector<WindowRecord>& RetiredWindows() {
  static std::vector<WindowRecord> retired;
  return retired;
}

WindowRecord* RecordOfHandle(HWND handle) {
  if (!handle) return nullptr;
  for (auto& [number, record] : Windows()) {
    if (record.handle == handle) return &record;
  }
  for (WindowRecord& record : RetiredWindows()) {
    if (record.handle == handle) return &record;
  }
  return nullptr;
}

ControlRecord* FindControl(int window, int control) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record) return nullptr;
  auto found = record->controls.find(control);
  return found == record->controls.end() ? nullptr : &found->second;
}

HWND ControlHandle(int window, int control) {
  ControlRecord* record = FindControl(window, control);
  return record ? record->handle : nullptr;
}

int NextAutoNumber() {
  constexpr int kLastAutoNumber = 0xFFFF;
  for (int tries = 0; tries <= kLastAutoNumber - kFirstAutoNumber; ++tries) {
    int candidate = g_next_auto;
    g_next_auto = candidate >= kLastAutoNumber ? kFirstAutoNumber : candidate + 1;
    if (!NumberInUse(candidate)) return candidate;
  }
  return kNoControl;
}

void PushEvent(Event event) {
  // GetKeyState follows the messages handled so far, so this is the key at the event's moment.
  const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  g_events.push_back({event, shift});
}

void PushEventOnce(Event event) {
  for (const QueuedEvent& queued : g_events) {
    const Event& other = queued.event;
    if (other.kind == event.kind && other.window == event.window && other.item == event.item) return;
  }
  PushEvent(event);
}

bool PopEvent(Event* event) {
  if (g_events.empty()) return false;
  *event = g_events.front().event;
  g_shift_at_last_event = g_events.front().shift;
  g_events.pop_front();
  return true;
}

bool ShiftAtLastEvent() { return g_shift_at_last_event; }

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

int DpiOfControl(HWND control) {
  const WindowRecord* window = FindWindowRecord(WindowNumberOf(GetParent(control)));
  return window ? window->dpi : 96;
}

}  // namespace ui::win32
