#include "shell/window_scan.h"

#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/paths.h"
#include "platform/text.h"

KV_MARKED_FILE(704);

namespace shell {

namespace {

bool IsIgnoredProgram(const std::string& lower_path) {
  const std::string file_name = platform::FileNamePart(lower_path);
  const std::string extension = platform::LowerExtension(file_name);
  return file_name == "dllhost.exe" || file_name == "rundll32.exe" || extension == "scr" || extension == "scf" ||
         file_name == platform::LowerAscii(platform::kConsoleHelperName);
}

}  // namespace

void RememberRunningPrograms(KnownProcesses& known) {
  for (const services::TopLevelWindow& window : services::TopLevelWindows()) {
    if (sources::CountsAsProgramWindow(window)) known[window.process] = true;
  }
}

void ExamineNewProgram(const std::string& program_path, const ProgramHooks& hooks) {
  const std::string path = platform::LowerAscii(program_path);
  if (IsIgnoredProgram(path) || !hooks.find_by_program_path) return;
  const std::optional<sources::ProgramMatch> match = hooks.find_by_program_path(path);
  if (!match) return;
  // The lists show what the program's row shows.
  if (match->label.empty()) return;
  Call(hooks.record_use_by_target, match->label, match->folder + match->name, match->target, path);
}

void ScanWindows(KnownProcesses& known, bool launched_since_scan, const ProgramHooks& hooks) {
  KV_MARK();
  for (auto& [process, seen] : known) seen = false;
  // The program's own windows (the settings window) are no use of a program, even when the Start
  // menu holds a shortcut to it.
  const services::ProcessId own = services::CurrentProcessId();
  for (const services::TopLevelWindow& window : services::TopLevelWindows()) {
    if (!sources::CountsAsProgramWindow(window)) continue;
    if (!known.count(window.process) && !launched_since_scan && window.process != own) {
      ExamineNewProgram(services::ProcessImagePath(window.handle), hooks);
    }
    known[window.process] = true;
  }
  for (auto entry = known.begin(); entry != known.end();) {
    entry = entry->second ? std::next(entry) : known.erase(entry);
  }
}

}  // namespace shell
