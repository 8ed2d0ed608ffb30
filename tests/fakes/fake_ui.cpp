// The user-interface runtime as the unit tests see it: windows are records, events come from a
// list the test fills.
#include "shell/fatal_error_report.h"
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
void PumpMessages() {}

bool OpenWindow(const WindowSpec& spec) { return FakeUi().windows.emplace(spec.number, spec).second; }
void CloseWindow(int number) { FakeUi().windows.erase(number); }
bool WindowExists(int number) { return FakeUi().windows.count(number) != 0; }
void ShowWindow(int) {}
void BringToFront(int) {}
bool SetWindowAlpha(int number, int alpha) {
  FakeUi().window_alpha[number] = alpha;
  return true;
}
int FocusedWindow() { return FakeUi().focused_window; }
void CursorPosition(int* x, int* y) {
  *x = FakeUi().cursor_x;
  *y = FakeUi().cursor_y;
}
void ShutDown() { FakeUi().windows.clear(); }

int AddImage(int, int control, Box, int) { return control; }

bool MakeFont(int number, const std::string& face, int points, bool bold) {
  FakeUi().fonts[number] = {face, points, bold};
  return true;
}

bool StoreBuiltinImages() {
  FakeUi().builtin_images_stored = true;
  return true;
}

Answer ShowMessage(const std::string& title, const std::string& text, Buttons, Mark, int) {
  FakeUi().messages.emplace_back(title, text);
  return Answer::Ok;
}

bool CreatePopupMenu(int, const std::vector<MenuItemSpec>&) { return true; }
void ShowPopupMenu(int, int, int, int) {}

}  // namespace ui

namespace shell {
void InstallFatalErrorReport() { fakes::FatalErrorReportInstalled() = true; }
void RemoveFatalErrorReport() { fakes::FatalErrorReportInstalled() = false; }
void SetNormalEndPath(void (*)()) {}
}  // namespace shell

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
  FatalErrorReportInstalled() = false;
}

}  // namespace fakes
