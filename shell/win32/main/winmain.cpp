// Entry point of Kestrivalume.exe. For now it shows the button window in the screen corner and
// runs the event wait until that window is closed; start-up, the main loop and the menu come
// with the shell modules.
#include <windows.h>

#include "ui/controls.h"
#include "ui/events.h"
#include "ui/image_store.h"
#include "ui/window.h"

namespace {

constexpr int kButtonWindow = 0;
constexpr int kProgramImage = 0;

bool ShowButtonWindow() {
  ui::WindowSpec spec;
  spec.number = kButtonWindow;
  spec.title = "Kestrivalume";
  spec.inner_width = 16;
  spec.inner_height = 16;
  spec.topmost = true;
  spec.tool_window = true;
  if (!ui::OpenWindow(spec)) return false;
  ui::AddImage(kButtonWindow, ui::kAutoNumber, {0, 0, 16, 16}, kProgramImage);
  ui::ShowWindow(kButtonWindow);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (ui::StoreBuiltinImages() && ShowButtonWindow()) {
    for (;;) {
      ui::Event event = ui::WaitEvent(200);
      if (event.kind == ui::EventKind::WindowClose && event.window == kButtonWindow) break;
    }
  }
  ui::ShutDown();
  return 0;
}
