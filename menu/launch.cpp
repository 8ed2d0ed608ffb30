#include "menu/launch.h"

#include <algorithm>
#include <vector>

#include "menu/layout.h"
#include "menu/menu_bindings.h"
#include "menu/menu_window.h"
#include "settings/usage_lists.h"
#include "shell/environment.h"
#include "shell/information_window.h"
#include "shell/location_marker.h"
#include "shell/main_loop.h"
#include "shell/services.h"
#include "sources/console_helper.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/strings.h"
#include "ui/window.h"

namespace menu {

namespace {

void ShowCursor(services::CursorShape shape) {
  if (shell::Env().cursors_available) services::ShowCursorShape(shape);
}

bool Exists(const std::string& path) {
  return !path.empty() && services::KindOfPath(path) != services::PathKind::Missing;
}

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('\\');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return ui::LowerAscii(path.substr(dot + 1));
}

void ReportGone(int x, int y) {
  ShowCursor(services::CursorShape::Arrow);
  shell::ShowInformationWindow(x, y, kNoLongerAvailable);
  ui::Pause(kNoLongerAvailableMs);
  shell::CloseInformationWindow();
}

}  // namespace

std::string ResolveShortcut(const std::string& shortcut_path) {
  std::string last_line;
  sources::RunConsoleHelper("\"" + shortcut_path + "\"", [&](const std::string& line) { last_line = line; });
  const std::vector<std::string> fields = ui::SplitFields(last_line, '\t');
  return fields.size() >= 3 ? fields[2] : "";
}

std::string ResolveShortcutChain(const std::string& shortcut_path) {
  std::vector<std::string> seen{ui::LowerAscii(shortcut_path)};
  std::string target = ResolveShortcut(shortcut_path);
  while (LowerExtension(target) == "lnk") {
    const std::string key = ui::LowerAscii(target);
    if (seen.size() >= kMaxShortcutHops || std::find(seen.begin(), seen.end(), key) != seen.end()) return "";
    seen.push_back(key);
    target = ResolveShortcut(target);
  }
  return target;
}

void OpenPath(const std::string& path, const std::string& parameters, const std::string& working_folder) {
  std::string command = !path.empty() && path[0] == '"' ? path : "\"" + path + "\"";
  if (!parameters.empty()) command += " " + parameters;
  if (services::StartProgram(command, working_folder)) return;
  std::string folder = working_folder;
  if (folder.empty()) {
    const std::size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos) folder = path.substr(0, slash + 1);
  }
  services::ShellOpen(path, "", parameters, folder);
}

void LaunchEntry(int control) {
  KV_MARK();
  int x = 0, y = 0;
  ui::CursorPosition(&x, &y);
  const MenuBinding* found = FindBinding(control);
  if (!found || !ui::WindowExists(kMenuWindow)) return;
  const MenuBinding binding = *found;  // the list is rebuilt when the menu closes
  ShowCursor(services::CursorShape::Wait);
  if (binding.LaunchPath.empty()) {
    if (binding.WindowHandle != 0) services::SwitchToWindow(binding.WindowHandle);
    CloseMenuWindow();
    return;
  }
  std::string target;
  const bool exists = LowerExtension(binding.LaunchPath) == "lnk"
                          ? Exists(target = ResolveShortcutChain(binding.LaunchPath))
                          : Exists(binding.LaunchPath);
  if (!exists) {
    ReportGone(x, y);
    return;
  }
  const std::string label = ui::Text(kMenuWindow, control);
  OpenPath(binding.LaunchPath, "", "");
  shell::Loop().launched_since_scan = true;
  ShowCursor(services::CursorShape::Arrow);
  CloseMenuWindow();
  if (!label.empty() && binding.CountsAsUse == 1) settings::RecordUseByLabel(label, binding.LaunchPath, target);
}

}  // namespace menu
