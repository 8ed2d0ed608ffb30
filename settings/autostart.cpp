#include "settings/autostart.h"

#include "platform/services.h"

namespace settings {

std::string AutostartCommand(const std::string& program) { return "\"" + program + "\""; }

void UpdateAutostart(Flag load_on_windows_start) {
  if (load_on_windows_start <= 0) {
    services::RegistryDeleteValue(kRunKey, kAutostartValueName);
    return;
  }
  const std::string program = services::ProgramFilePath();
  // Without a path there is nothing Windows could start; leave the value as it is.
  if (!program.empty()) services::RegistryWriteText(kRunKey, kAutostartValueName, AutostartCommand(program));
}

}  // namespace settings
