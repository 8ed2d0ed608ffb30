#include "menu/launch.h"

#include <algorithm>
#include <vector>

#include "menu/information_window.h"
#include "menu/layout.h"
#include "menu/menu_bindings.h"
#include "menu/menu_window.h"
#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "platform/text.h"
#include "settings/usage_lists.h"
#include "sources/catalogue_find.h"
#include "sources/console_helper.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/window.h"

KV_MARKED_FILE(501);

namespace menu {

namespace {

void (*g_on_launched)() = nullptr;

void ShowCursor(services::CursorShape shape) {
  if (platform::Env().cursors_available) services::ShowCursorShape(shape);
}

bool Exists(const std::string& path) {
  return !path.empty() && services::KindOfPath(path) != services::PathKind::Missing;
}

void ReportGone(int x, int y) {
  ShowCursor(services::CursorShape::Arrow);
  menu::ShowInformationWindow(x, y, kNoLongerAvailable);
  ui::Pause(kNoLongerAvailableMs);
  menu::CloseInformationWindow();
}

}  // namespace

std::optional<std::string> ResolveShortcut(const std::string& shortcut_path) {
  std::optional<std::string> last_line;
  sources::RunConsoleHelper("\"" + shortcut_path + "\"", [&](const std::string& line) { last_line = line; });
  if (!last_line) return std::nullopt;
  const std::vector<std::string> fields = platform::SplitFields(*last_line, '\t');
  return fields.size() >= 3 ? fields[2] : "";
}

std::optional<std::string> ResolveShortcutChain(const std::string& shortcut_path) {
  std::vector<std::string> seen{platform::LowerAscii(shortcut_path)};
  std::optional<std::string> target = ResolveShortcut(shortcut_path);
  while (target && platform::LowerExtension(*target) == "lnk") {
    const std::string key = platform::LowerAscii(*target);
    if (seen.size() >= kMaxShortcutHops || std::find(seen.begin(), seen.end(), key) != seen.end()) return "";
    seen.push_back(key);
    target = ResolveShortcut(*target);
  }
  return target;
}

void OpenPath(const std::string& path, const std::string& parameters, const std::string& working_folder) {
  std::string command = !path.empty() && path[0] == '"' ? path : "\"" + path + "\"";
  if (!parameters.empty()) command += " " + parameters;
  if (services::StartProgram(command, working_folder)) return;
  services::ShellOpen(path, "", parameters, working_folder.empty() ? platform::FolderPart(path) : working_folder);
}

void SetLaunchListener(void (*on_launched)()) { g_on_launched = on_launched; }

void LaunchEntry(int control) {
  KV_MARK();
  int x = 0, y = 0;
  (void)ui::CursorPosition(&x, &y);  // after a click: the pointer is there
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
  bool exists = false;
  if (platform::LowerExtension(binding.LaunchPath) != "lnk") {
    exists = Exists(binding.LaunchPath);
  } else if (const std::optional<std::string> resolved = ResolveShortcutChain(binding.LaunchPath)) {
    exists = Exists(target = *resolved);
  } else {
    // No answer to tell the target by: the shell opens the shortcut as it would one whose target
    // exists, with its own checks, rather than the program claiming the object is gone.
    exists = Exists(binding.LaunchPath);
  }
  if (!exists) {
    ReportGone(x, y);
    return;
  }
  // A program of the catalogue is recorded under what its row shows now, also when it was chosen
  // from a usage list that still names it as it was.
  const std::string label = sources::LabelOfLaunchPath(binding.LaunchPath).value_or(ui::Text(kMenuWindow, control));
  OpenPath(binding.LaunchPath, "", "");
  if (g_on_launched) g_on_launched();
  ShowCursor(services::CursorShape::Arrow);
  CloseMenuWindow();
  if (!label.empty() && binding.CountsAsUse == 1) settings::RecordUseByLabel(label, binding.LaunchPath, target);
}

}  // namespace menu
