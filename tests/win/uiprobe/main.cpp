// Test program for the user-interface runtime under Wine. It opens one window with a control of
// every kind and prints each event as a line "event <kind> <window> <item>", so an end-to-end test
// can click with xdotool, read the controls with kvtool and check what the runtime reported.
//   uiprobe.exe              the window; ends on its close event or popup item 9
//   uiprobe.exe drawn        the same window drawing its texts, links, pictures, buttons and
//                            rectangles itself (the system's controls stay child windows)
//   uiprobe.exe image FILE   decodes FILE and prints "image <width> <height>" or "image none"
#include <cstdio>
#include <cstring>

#include "ui/controls.h"
#include "ui/events.h"
#include "ui/fonts.h"
#include "ui/image_store.h"
#include "ui/message_box.h"
#include "ui/popup_menu.h"
#include "ui/window.h"

namespace {

constexpr int kWindow = 1;
constexpr int kLinkFont = 1;
constexpr int kTitleFont = 2;

const char* KindName(ui::EventKind kind) {
  switch (kind) {
    case ui::EventKind::LeftButtonUp: return "left";
    case ui::EventKind::RightButtonUp: return "right";
    case ui::EventKind::MenuItem: return "menu";
    case ui::EventKind::Control: return "control";
    case ui::EventKind::WindowClose: return "close";
    case ui::EventKind::WindowMoved: return "moved";
    case ui::EventKind::ScreenChanged: return "screen";
    case ui::EventKind::TaskbarCreated: return "taskbar";
    case ui::EventKind::PressOutside: return "pressoutside";
    case ui::EventKind::EnvironmentChanged: return "environment";
    case ui::EventKind::None: break;
  }
  return "none";
}

int DecodeFile(const char* path) {
  std::optional<ui::Image> image = ui::LoadImageFile(path);
  if (image) {
    std::printf("image %d %d\n", image->width, image->height);
  } else {
    std::printf("image none\n");
  }
  return image ? 0 : 1;
}

void AddControls() {
  ui::SetCreationFont(kLinkFont);
  ui::AddText(kWindow, 10, {10, 10, 200, 18}, " Titre de section", kTitleFont);
  ui::SetColours(kWindow, 10, {0x00FFFFFF, 0x00DF7314, false});
  for (int image = 0; image <= 21; ++image) ui::AddIconButton(kWindow, 100 + image, 10 + image * 21, 40, image);
  ui::SetTooltip(kWindow, 101, "Fermer la fenêtre");
  ui::AddLink(kWindow, 11, {10, 70, 200, 18}, "Plus de documents ...", kLinkFont, 0x000000FF);
  ui::SetColours(kWindow, 11, {0x00800000, 0, true});
  ui::AddButton(kWindow, 12, {10, 100, 100, 24}, "Appliquer");
  // A system control's tip makes the window's tooltips now, whether the window draws its own
  // controls or not. Under Wine a window's low-level mouse hook hears no press in another
  // program unless the window already owned a popup when it was shown (a drawn window makes its
  // tooltips at the pointer's first move); Windows' hooks know no such condition.
  ui::SetTooltip(kWindow, 12, "Appliquer les réglages");
  ui::AddCheckBox(kWindow, 13, {120, 100, 200, 20}, "Afficher les programmes utilisés", true);
  ui::AddSlider(kWindow, 14, {10, 130, 210, 24}, 0, 255, 230);
  ui::AddDropDown(kWindow, 15, {230, 130, 150, 200}, {"Standard", "Sombre", "Clair"});
  ui::SetDropDownSelection(kWindow, 15, 1);
  ui::AddGroupBox(kWindow, 16, {400, 90, 150, 80}, "Couleurs");
  ui::AddContainer(kWindow, 17, {10, 170, 60, 30}, 0x00FF00FF);
  ui::AddImage(kWindow, 18, {80, 170, 210, 10}, 30);
  ui::SetCreationFont(ui::kDefaultFont);
}

bool OpenProbeWindow(bool drawn) {
  ui::WindowShape shape;
  shape.number = kWindow;
  shape.title = "UI Probe - Kestrivalume";
  shape.x = 100;
  shape.y = 100;
  shape.inner_width = 600;
  shape.inner_height = 220;
  shape.frame = ui::Frame::CloseBox;
  shape.draws_elements = drawn;
  if (!ui::OpenWindow(shape)) return false;
  ui::SetBackgroundColour(kWindow, 0x00F0E0D0);
  AddControls();
  ui::ShowWindow(kWindow);
  (void)ui::BringToFront(kWindow);
  ui::WatchPressesOutside(kWindow);
  return ui::CreatePopupMenu(1, {{2, "&Aide"}, {0, ""}, {9, "&Quitter"}});
}

void Report(const ui::Event& event) {
  std::printf("event %s %d %d", KindName(event.kind), event.window, event.item);
  if (event.kind == ui::EventKind::Control && event.item == 13)
    std::printf(" checked=%d", ui::IsChecked(kWindow, 13) ? 1 : 0);
  if (event.kind == ui::EventKind::Control && event.item == 14)
    std::printf(" value=%d", ui::SliderValue(kWindow, 14));
  if (event.kind == ui::EventKind::Control && event.item == 15)
    std::printf(" selection=%d", ui::DropDownSelection(kWindow, 15));
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "image") == 0) return DecodeFile(argv[2]);
  const bool drawn = argc == 2 && std::strcmp(argv[1], "drawn") == 0;
  bool ready = ui::StoreBuiltinImages() && ui::MakeFont(kLinkFont, "MS Sans Serif", 9, false) &&
               ui::MakeFont(kTitleFont, "Arial", 11, true) && OpenProbeWindow(drawn);
  std::printf("ready %d\n", ready ? 1 : 0);
  std::fflush(stdout);
  while (ready) {
    ui::Event event = ui::WaitEvent(200);
    if (event.kind == ui::EventKind::None) continue;
    Report(event);
    if (event.kind == ui::EventKind::RightButtonUp) {
      int x = 0, y = 0;
      (void)ui::CursorPosition(&x, &y);
      ui::ShowPopupMenu(1, kWindow, x, y);
    }
    if (event.kind == ui::EventKind::WindowClose) break;
    if (event.kind == ui::EventKind::MenuItem && event.item == 9) break;
  }
  ui::ShutDown();
  return ready ? 0 : 1;
}
