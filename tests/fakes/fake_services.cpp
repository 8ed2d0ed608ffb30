#include "platform/services.h"
#include "tests/fakes/fakes.h"

using fakes::FakeServices;

namespace services {

std::string SpecialFolder(int csidl) {
  auto found = FakeServices().special_folders.find(csidl);
  return found == FakeServices().special_folders.end() ? "" : found->second;
}
std::string ProgramFilePath() { return FakeServices().program_path; }
void CreateFolder(const std::string& path) { FakeServices().created_folders.push_back(path); }
bool Is32BitOn64BitWindows() { return FakeServices().wow64; }
ProcessId CurrentProcessId() { return FakeServices().current_process; }

void EndProcessAtOnce(unsigned exit_code) { FakeServices().ended_at_once = exit_code; }

bool TerminateProcessById(ProcessId id, unsigned exit_code) {
  auto& processes = FakeServices().processes;
  for (auto process = processes.begin(); process != processes.end(); ++process) {
    if (process->id != id) continue;
    processes.erase(process);
    FakeServices().terminated.emplace_back(id, exit_code);
    return true;
  }
  return false;
}

std::vector<RunningProcess> RunningProcesses() { return FakeServices().processes; }

std::string ProcessImagePath(WindowHandle window) {
  auto found = FakeServices().image_paths.find(window);
  return found == FakeServices().image_paths.end() ? "" : found->second;
}

void HoldNamedMutex(const std::string& name) { FakeServices().mutexes.push_back(name); }
std::optional<ScreenInfo> MeasureScreen() { return FakeServices().screen; }
bool LoadCursors() { return FakeServices().cursors_load; }
void ShowCursorShape(CursorShape shape) { FakeServices().cursor_shapes.push_back(shape); }
std::vector<TopLevelWindow> TopLevelWindows() { return FakeServices().windows; }
bool FullScreenProgramShown() { return FakeServices().full_screen_program; }

std::optional<std::string> RegistryReadText(RegistryRoot root, const std::string& key, const std::string& name) {
  auto found = FakeServices().registry.find({root, key, name});
  if (found == FakeServices().registry.end()) return std::nullopt;
  return found->second;
}

bool RegistryWriteText(const std::string& key, const std::string& name, const std::string& text) {
  FakeServices().registry[{RegistryRoot::CurrentUser, key, name}] = text;
  return true;
}

bool RegistryDeleteValue(const std::string& key, const std::string& name) {
  return FakeServices().registry.erase({RegistryRoot::CurrentUser, key, name}) != 0;
}

void ShellOpen(const std::string& file, const std::string& verb, const std::string& parameters,
               const std::string& folder) {
  FakeServices().shell_opened.emplace_back(file, verb, parameters, folder);
}

bool SetClipboardText(const std::string& text) {
  FakeServices().clipboard = text;
  return true;
}

std::int64_t LocalSeconds() { return FakeServices().now; }
std::int64_t MonotonicSeconds() { return FakeServices().monotonic; }
void SleepMilliseconds(int milliseconds) { FakeServices().slept_ms += milliseconds; }

}  // namespace services
