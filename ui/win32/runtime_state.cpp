#include "ui/win32/runtime_state.h"

namespace ui::win32 {

namespace {
std::deque<Event> g_events;
int g_next_auto = kFirstAutoNumber;

bool NumberInUse(int number) {
  for (const auto& [window, record] : Windows()) {
    if (record.controls.count(number)) return true;
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

void PushEvent(Event event) { g_events.push_back(event); }

bool PopEvent(Event* event) {
  if (g_events.empty()) return false;
  *event = g_events.front();
  g_events.pop_front();
  return true;
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace ui::win32
