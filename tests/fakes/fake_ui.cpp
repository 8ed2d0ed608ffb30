// The user-interface runtime as the unit tests see it: windows are records, events come from a
// list the test fills.
#include "platform/fatal_error_report.h"
#include <algorithm>

#include "tests/fakes/fake_controls.h"
#include "tests/fakes/fakes.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/fonts.h"
#include "ui/image_store.h"
#include "ui/message_box.h"
#include "ui/popup_menu.h"
#include "ui/window.h"

using fakes::FakeUi;

namespace ui {

Event WaitEvent(int) {
  auto& events = FakeUi().events;
  if (events.empty()) return Event{};
  Event event = events.front();
  events.erase(events.begin());
  return event;
}
bool ShiftWasDown() { return FakeUi().shift_down; }
void PumpMessages() {}
void SetSessionEndHandler(std::function<void()> handler) { FakeUi().session_end = std::move(handler); }
void Pause(int milliseconds) { FakeUi().paused_ms += milliseconds; }

bool OpenWindow(const WindowShape& shape) {
  if (!FakeUi().windows.emplace(shape.number, shape).second) return false;
  fakes::WindowState state;
  state.inner_width = shape.inner_width;
  state.inner_height = shape.inner_height;
  state.x = shape.x;
  state.y = shape.y;
  fakes::Recorder().window_states[shape.number] = state;
  return true;
}
void CloseWindow(int number) {
  FakeUi().windows.erase(number);
  if (FakeUi().press_watch == number) FakeUi().press_watch = -1;
  auto& controls = fakes::Recorder().controls;
  controls.erase(std::remove_if(controls.begin(), controls.end(),
                                [number](const fakes::FakeControl& control) { return control.window == number; }),
                 controls.end());
}
bool WindowExists(int number) { return FakeUi().windows.count(number) != 0; }
bool WindowShown(int number) { return WindowExists(number) && fakes::Recorder().window_states[number].shown; }
void ShowWindow(int number) { fakes::Recorder().window_states[number].shown = true; }
bool BringToFront(int number) {
  int& refusals = FakeUi().refusals;
  if (refusals != 0) {
    if (refusals > 0) --refusals;
    return false;
  }
  FakeUi().focused_window = number;
  return true;
}
Foreground CurrentForeground() {
  const int number = FakeUi().focused_window;
  if (number >= 0) return {number, 1000u + static_cast<std::uintptr_t>(number)};
  return {kOtherProgram, FakeUi().other_foreground};
}
void WatchPressesOutside(int number) { FakeUi().press_watch = number; }
void StopWatchingPresses() { FakeUi().press_watch = -1; }
void RetireWindow(int number) {
  if (!WindowExists(number)) return;
  if (FakeUi().press_watch == number) StopWatchingPresses();
  CloseWindow(number);
  FakeUi().retired.push_back(number);
}
void DestroyRetiredWindows() { FakeUi().retired.clear(); }
void KeepOnTop(int number) { FakeUi().kept_on_top.push_back(number); }
bool SetWindowAlpha(int number, int alpha) {
  FakeUi().window_alpha[number] = alpha;
  return true;
}
bool MouseButtonHeld() { return FakeUi().mouse_button_held; }

bool CursorPosition(int* x, int* y) {
  if (!FakeUi().cursor_readable) return false;
  *x = FakeUi().cursor_x;
  *y = FakeUi().cursor_y;
  return true;
}
void ShutDown() { FakeUi().windows.clear(); }
int WindowDpi(int number) { return FakeUi().windows.count(number) ? FakeUi().dpi : 96; }
int DpiAt(int, int) { return FakeUi().dpi; }


bool MakeFont(int number, const std::string& face, int points, bool bold) {
  FakeUi().fonts[number] = {face, points, bold};
  return true;
}

bool StoreBitmap(int number, const Image& image) {
  if (image.empty() || image.bgra.size() != static_cast<std::size_t>(image.width) * image.height * 4) return false;
  FakeUi().bitmaps[number] = image;
  return true;
}
bool HasImage(int number) { return FakeUi().bitmaps.count(number) != 0; }
void FreeImage(int number) { FakeUi().bitmaps.erase(number); }
void ImageSize(int number, int* width, int* height) {
  auto found = FakeUi().bitmaps.find(number);
  *width = found == FakeUi().bitmaps.end() ? 0 : found->second.width;
  *height = found == FakeUi().bitmaps.end() ? 0 : found->second.height;
}

bool StoreBuiltinImages() {
  FakeUi().builtin_images_stored = true;
  return true;
}

Answer ShowMessage(const std::string& title, const std::string& text, Buttons, Mark, int owner_window) {
  FakeUi().messages.emplace_back(title, text);
  FakeUi().message_owners.push_back(owner_window);
  auto& answers = FakeUi().answers;
  if (answers.empty()) return Answer::Ok;
  const Answer answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

bool CreatePopupMenu(int, const std::vector<MenuItemSpec>&) { return true; }
void ShowPopupMenu(int, int, int, int) {}

}  // namespace ui

namespace platform {
void InstallFatalErrorReport() { fakes::FatalErrorReportInstalled() = true; }
void RemoveFatalErrorReport() { fakes::FatalErrorReportInstalled() = false; }
void SetNormalEndPath(void (*)()) {}
}  // namespace platform

namespace fakes {

Services& FakeServices() {
  static Services services;
  return services;
}

Ui& FakeUi() {
  static Ui ui;
  return ui;
}

bool& FatalErrorReportInstalled() {
  static bool installed = false;
  return installed;
}

void Reset() {
  FakeServices() = Services{};
  FakeUi() = Ui{};
  Recorder() = ControlRecorder{};
  FatalErrorReportInstalled() = false;
}

}  // namespace fakes
