#include "shell/window_scan.h"

#include "shell/environment.h"
#include "shell/location_marker.h"
#include "ui/strings.h"

namespace shell {

namespace {

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& file_name) {
  const std::size_t dot = file_name.find_last_of('.');
  return dot == std::string::npos ? "" : file_name.substr(dot + 1);
}

bool IsIgnoredProgram(const std::string& lower_path) {
  const std::string file_name = FileNameOf(lower_path);
  const std::string extension = ExtensionOf(file_name);
  return file_name == "dllhost.exe" || file_name == "rundll32.exe" || extension == "scr" || extension == "scf" ||
         file_name == ui::LowerAscii(kConsoleHelperName);
}

}  // namespace

bool CountsAsProgramWindow(const services::TopLevelWindow& window) {
  return window.visible && !window.tool_window && !window.title.empty();
}

void RememberRunningPrograms(KnownProcesses& known) {
  for (const services::TopLevelWindow& window : services::TopLevelWindows()) {
    if (CountsAsProgramWindow(window)) known[window.process] = true;
  }
}

void ExamineNewProgram(const std::string& program_path, const ProgramHooks& hooks) {
  const std::string path = ui::LowerAscii(program_path);
  if (IsIgnoredProgram(path) || !hooks.find_by_program_path) return;
  const std::optional<ProgramMatch> match = hooks.find_by_program_path(path);
  if (!match) return;
  // The shortcut's name without ".lnk" is the label the lists show.
  const std::string label = match->name.size() > 4 ? match->name.substr(0, match->name.size() - 4) : "";
  if (label.empty()) return;
  Call(hooks.record_use_by_target, label, match->folder + match->name, match->target, path);
}

void ScanWindows(KnownProcesses& known, bool launched_since_scan, const ProgramHooks& hooks) {
  KV_MARK();
  for (auto& [process, seen] : known) seen = false;
  for (const services::TopLevelWindow& window : services::TopLevelWindows()) {
    if (!CountsAsProgramWindow(window)) continue;
    if (!known.count(window.process) && !launched_since_scan) {
      ExamineNewProgram(services::ProcessImagePath(window.handle), hooks);
    }
    known[window.process] = true;
  }
  for (auto entry = known.begin(); entry != known.end();) {
    entry = entry->second ? std::next(entry) : known.erase(entry);
  }
}

}  // namespace shell
