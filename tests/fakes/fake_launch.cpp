#include "platform/services.h"
#include "tests/fakes/fakes.h"

using fakes::FakeServices;

namespace services {

bool StartProgram(const std::string& command_line, const std::string& working_folder) {
  FakeServices().started_programs.emplace_back(command_line, working_folder);
  return FakeServices().program_start_succeeds;
}

void SwitchToWindow(WindowHandle window) { FakeServices().switched_to.push_back(window); }
void SendTaskbarCommand(int command) { FakeServices().taskbar_commands.push_back(command); }

}  // namespace services
