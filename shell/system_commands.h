#pragma once
// The fixed column's commands: Explorer, Control Panel, printers, and the taskbar's Task
// Manager, Run and shut-down dialogs. The menu window is closed before (by the main loop).

namespace shell {

// Runs the command of control 18-23; other numbers do nothing.
void RunSystemCommand(int control);

}  // namespace shell
