#include "shell/system_commands.h"

#include "menu/launch.h"
#include "shell/environment.h"
#include "shell/services.h"

namespace shell {

namespace {
constexpr char kComputerFolder[] = "/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr int kTaskManagerCommand = 420;
constexpr int kRunCommand = 401;
constexpr int kShutDownCommand = 506;
}  // namespace

void RunSystemCommand(int control) {
  switch (control) {
    case 18: menu::OpenPath("Explorer.exe", kComputerFolder, ""); return;
    case 19: menu::OpenPath("control.exe", "", Env().windows_folder); return;
    case 21: menu::OpenPath("control.exe", "printers", Env().windows_folder); return;
    case 20: services::SendTaskbarCommand(kTaskManagerCommand); return;
    case 22: services::SendTaskbarCommand(kRunCommand); return;
    case 23: services::SendTaskbarCommand(kShutDownCommand); return;
  }
}

}  // namespace shell
