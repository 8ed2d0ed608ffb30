#include "shell/button_window.h"

#include "platform/environment.h"
#include "platform/services.h"
#include "settings/settings.h"
#include "shell/main_loop.h"
#include "ui/controls.h"
#include "ui/message_box.h"
#include "ui/popup_menu.h"
#include "ui/window.h"

namespace shell {

namespace {
constexpr int kProgramImage = 0;
}  // namespace

const char* AboutText() {
  return "Kestrivalume\r\n\r\nVersion 1.12.06.05\r\n\r\n"
         "Copyright Varnholtiqa. Tous droits réservés.\r\n\r\n";
}

void CreateButtonWindow() {
  const settings::Settings& options = settings::Current();
  ui::WindowShape shape;
  shape.number = kButtonWindow;
  shape.title = kButtonWindowTitle;
  shape.inner_width = 16;
  shape.inner_height = 16;
  shape.topmost = true;
  shape.tool_window = options.WindowsTransparency != 0;
  // Active, it would take Alt+F4 pressed on the empty desktop; it only ever needs the foreground
  // for its popup menu and About box.
  shape.no_activate = true;
  if (!ui::OpenWindow(shape)) return;
  if (options.WindowsTransparency) ui::SetWindowAlpha(kButtonWindow, options.TransparencyMain);
  ui::ShowWindow(kButtonWindow);
  ui::KeepOnTop(kButtonWindow);
  (void)ui::CreatePopupMenu(kPopupMenu, {{kItemHelp, "&Aide"},
                                         {kItemWebsite, "&Website"},
                                         {kItemAbout, "A &propos ..."},
                                         {0, ""},
                                         {kItemQuit, "&Quitter"}});
  ui::AddImage(kButtonWindow, kButtonImageControl, {0, 0, 16, 16}, kProgramImage);
}

void KeepButtonWindowInCorner() {
  ui::MoveWindowTo(kButtonWindow, 0, 0);
  ui::KeepOnTop(kButtonWindow);
}

void ShowButtonPopupMenu() {
  int x = 0, y = 0;
  (void)ui::CursorPosition(&x, &y);  // shown after a click: the pointer is there
  ui::ShowPopupMenu(kPopupMenu, kButtonWindow, x - 1, y - 1);
}

void RunPopupMenuItem(int item) {
  switch (item) {
    case kItemHelp:
      services::ShellOpen(platform::Env().program_folder + kHelpDocument, "open", "", "");
      return;
    case kItemWebsite:
      services::ShellOpen(kWebsite, "open", "", "");
      return;
    case kItemAbout:
      ui::ShowMessage(kButtonWindowTitle, AboutText(), ui::Buttons::Ok, ui::Mark::None, kButtonWindow);
      return;
  }
}

}  // namespace shell
