#include "shell/system_commands.h"

#include "menu/launch.h"
#include "menu/menu_controls.h"
#include "platform/environment.h"
#include "platform/services.h"

namespace shell {

namespace {
constexpr char kComputerFolder[] = "/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr int kTaskManagerCommand = 420;
constexpr int kRunCommand = 401;
constexpr int kShutDownCommand = 506;
}  // namespace

void RunSystemCommand(int control) {
  switch (control) {
    case menu::kExplorerButton: menu::OpenPath("Explorer.exe", kComputerFolder, ""); return;
    case menu::kControlPanelButton: menu::OpenPath("control.exe", "", platform::Env().windows_folder); return;
    case menu::kPrintersButton: menu::OpenPath("control.exe", "printers", platform::Env().windows_folder); return;
    case menu::kTaskManagerButton: services::SendTaskbarCommand(kTaskManagerCommand); return;
    case menu::kRunButton: services::SendTaskbarCommand(kRunCommand); return;
    case menu::kShutDownButton: services::SendTaskbarCommand(kShutDownCommand); return;
  }
}

}  // namespace shell
