#include "shell/main_loop.h"

#include <algorithm>
#include <iterator>

#include "menu/menu_controls.h"
#include "menu/menu_focus.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/services.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "settings_window/settings_controls.h"
#include "sources/catalogue_refresh.h"
#include "ui/scale.h"
#include "ui/window.h"

KV_MARKED_FILE(702);

namespace shell {

namespace {

constexpr char kInstallKey[] = "Software\\Varnholtiqa\\Kestrivalume";

// Controls of the settings window, handled by that window's module.
namespace sw = settings_window;
constexpr int kSettingsWindowControls[] = {
    sw::kClearMostUsedButton,    sw::kClearLastUsedButton,     sw::kClearRecentDocumentsButton,
    sw::kColumnWidthSlider,      sw::kTransparencySlider,      sw::kSkinList,
    sw::kSkinPreview,            sw::kElementList,             sw::kHueSlider,
    sw::kSaturationSlider,       sw::kLightnessSlider,         sw::kRedSlider,
    sw::kGreenSlider,            sw::kBlueSlider,              sw::kColourDialogButton,
    sw::kBackgroundFileButton,   sw::kBackgroundDesktopButton, sw::kBackgroundNoneButton,
    sw::kApplyButton,            sw::kStandardColoursButton};

void Rebuild(const ProgramHooks& hooks) {
  Call(hooks.close_menu_window);
  Call(hooks.build_menu_window);
}

bool Flag(settings::Flag value) { return value != 0; }

void Toggle(settings::Flag& flag) { flag = flag ? 0 : 1; }

// The menu-window commands that change what the next build shows.
void NextProgramsPage(const ProgramHooks& hooks) {
  menu::View().ProgramsShown = true;
  menu::View().DocumentsShown = Flag(settings::Current().ShowDocsImmediate);
  Rebuild(hooks);
}

void ShowPrograms(const ProgramHooks& hooks) {
  menu::View().ProgramsShown = true;
  menu::View().ProgramsPageStart.clear();
  Rebuild(hooks);
}

void ShowDocuments(const ProgramHooks& hooks) {
  menu::View().DocumentsShown = true;
  menu::View().ProgramsPageStart.clear();
  Rebuild(hooks);
}

void ShowAllDocuments(const ProgramHooks& hooks) {
  menu::View().AllDocumentsShown = true;
  Rebuild(hooks);
}

void ToggleProgramsImmediate(const ProgramHooks& hooks) {
  Toggle(settings::Current().ShowProgImmediate);
  menu::View().ProgramsShown = Flag(settings::Current().ShowProgImmediate);
  menu::View().ProgramsPageStart.clear();
  Rebuild(hooks);
}

void ToggleDocumentsImmediate(const ProgramHooks& hooks) {
  Toggle(settings::Current().ShowDocsImmediate);
  menu::View().DocumentsShown = Flag(settings::Current().ShowDocsImmediate);
  menu::View().ProgramsPageStart.clear();
  Rebuild(hooks);
}

void ToggleFilter(settings::Flag& filter, const ProgramHooks& hooks) {
  Toggle(filter);
  menu::View().ProgramsShown = true;
  menu::View().ProgramsPageStart.clear();
  Rebuild(hooks);
}

void OpenSettingsWindow(const ProgramHooks& hooks) {
  Call(hooks.close_menu_window);
  Call(hooks.open_settings_window);
}

bool IsSettingsWindowControl(int control) {
  return std::find(std::begin(kSettingsWindowControls), std::end(kSettingsWindowControls), control) !=
         std::end(kSettingsWindowControls);
}

void DispatchControl(int control, const ProgramHooks& hooks) {
  KV_MARK();
  settings::Settings& options = settings::Current();
  switch (control) {
    case menu::kHelpButton: Call(hooks.show_popup_menu); return;
    case menu::kCloseButton:
    case menu::kFixedCloseButton: Call(hooks.close_menu_window); return;
    case menu::kNextProgramsPageButton:
    case menu::kMoreProgramsLink: NextProgramsPage(hooks); return;
    case menu::kSettingsButton: OpenSettingsWindow(hooks); return;
    case menu::kProgramsFilterButton: ToggleFilter(options.ShowFilterExe, hooks); return;
    case menu::kHelpFilesFilterButton: ToggleFilter(options.ShowFilterHlp, hooks); return;
    case menu::kDocumentsFilterButton: ToggleFilter(options.ShowFilterDoc, hooks); return;
    case menu::kShowDocumentsButton: ToggleDocumentsImmediate(hooks); return;
    case menu::kShowProgramsButton: ToggleProgramsImmediate(hooks); return;
    case menu::kMoreDocumentsLink: ShowAllDocuments(hooks); return;
    case menu::kLaunchProgramsLink: ShowPrograms(hooks); return;
    case menu::kRecentDocumentsLink: ShowDocuments(hooks); return;
    case menu::kExplorerButton:
    case menu::kControlPanelButton:
    case menu::kTaskManagerButton:
    case menu::kPrintersButton:
    case menu::kRunButton:
    case menu::kShutDownButton:
      Call(hooks.close_menu_window);
      Call(hooks.system_command, control);
      return;
  }
  if (IsSettingsWindowControl(control)) {
    Call(hooks.settings_window_control, control);
  } else if (ui::WindowExists(menu::kMenuWindow)) {
    Call(hooks.launch_entry, control);
  }
}

// Returns true for the quit item.
bool DispatchMenuItem(int item, const ProgramHooks& hooks) {
  if (item == kItemQuit) return true;
  if (item == kItemHelp || item == kItemWebsite || item == kItemAbout) Call(hooks.popup_menu_item, item);
  return false;
}

void CloseMenuOnFocusLoss(const ProgramHooks& hooks) {
  if (ui::WindowExists(menu::kMenuWindow) && menu::MenuLostForeground(kButtonWindow)) Call(hooks.close_menu_window);
}

// Opens the menu once each time the pointer enters the primary monitor's top-left corner.
void OpenMenuInCorner(const ProgramHooks& hooks) {
  if (!settings::Current().NoMouseClickNeeded) return;
  int x = 0, y = 0;
  // Unreadable while a secure desktop (the lock screen) is shown: nothing is known of the pointer.
  if (!ui::CursorPosition(&x, &y)) return;
  LoopState& loop = Loop();
  const int corner = ui::Scaled(kCornerSize, platform::Env().screen_dpi);
  // A monitor left of or above the primary one has negative places: its edges are not the corner.
  if (x >= 0 && x < corner && y >= 0 && y < corner) {
    // Not while a button is held (a window dragged into the corner is the system's snap gesture)
    // nor over a full-screen program; the latch is set all the same, so that the menu does not
    // pop up the moment the button is released.
    if (!loop.corner_latch && !ui::MouseButtonHeld() && !services::FullScreenProgramShown()) OpenMenu(hooks);
    loop.corner_latch = true;
  } else {
    loop.corner_latch = false;
  }
}

void SaveWhenDue(std::int64_t now, const ProgramHooks& hooks) {
  if (now <= Loop().last_save + kSavePeriodSeconds) return;
  Call(hooks.save_settings);
  Loop().last_save = now;
}

void ScanWhenDue(std::int64_t now, const ProgramHooks& hooks) {
  LoopState& loop = Loop();
  if (now <= loop.last_scan + kScanPeriodSeconds) return;
  ScanWindows(loop.known_processes, loop.launched_since_scan, hooks);
  loop.launched_since_scan = false;
  loop.last_scan = now;
  ++loop.scans;
}

// What the idle work has done so far, for programs that wait on it from outside (the end-to-end
// tests), instead of sleeping for a period and hoping it came.
void PublishIdleWorkDone() {
  ui::PublishNumber(kButtonWindow, "Kestrivalume.Refreshes", sources::RefreshesEnded());
  ui::PublishNumber(kButtonWindow, "Kestrivalume.RefreshChecks", sources::RefreshChecksMade());
  ui::PublishNumber(kButtonWindow, "Kestrivalume.Scans", Loop().scans);
}

// The screen changed (its size, a monitor, the work area): the menu, laid out for the old one,
// closes, and what was made for the screen is made again; the next opening is laid out anew.
void FollowScreenChange(const ProgramHooks& hooks) {
  KV_MARK();
  Call(hooks.close_menu_window);
  if (platform::MeasureScreen()) Call(hooks.prepare_screen_images);
  KeepButtonWindowInCorner();
}

// What the exit must not lose: the settings, the usage lists and the program's folder.
void SaveAndRecordFolder(const ProgramHooks& hooks) {
  Call(hooks.save_settings);
  services::RegistryWriteText(kInstallKey, "InstallDir", platform::Env().program_folder);
}

// Ends the first running console helper: a helper left over would hold its pipe open.
void EndConsoleHelper() {
  const std::string helper = platform::LowerAscii(platform::kConsoleHelperName);
  for (const services::RunningProcess& process : services::RunningProcesses()) {
    if (platform::LowerAscii(process.file_name) == helper) {
      services::TerminateProcessById(process.id, 1);
      return;
    }
  }
}

}  // namespace

LoopState& Loop() {
  static LoopState loop;
  return loop;
}

void OpenMenu(const ProgramHooks& hooks) {
  Call(hooks.close_menu_window);
  menu::View().ProgramsShown = Flag(settings::Current().ShowProgImmediate);
  menu::View().DocumentsShown = Flag(settings::Current().ShowDocsImmediate);
  menu::View().ProgramsPageStart.clear();
  Call(hooks.build_menu_window);
}

bool DispatchEvent(const ui::Event& event, const ProgramHooks& hooks) {
  KV_MARK();
  switch (event.kind) {
    case ui::EventKind::RightButtonUp:
      if (event.window == kButtonWindow) Call(hooks.show_popup_menu);
      return false;
    case ui::EventKind::LeftButtonUp:
      if (event.window == kButtonWindow) OpenMenu(hooks);
      return false;
    case ui::EventKind::MenuItem:
      return DispatchMenuItem(event.item, hooks);
    case ui::EventKind::Control:
      DispatchControl(event.item, hooks);
      return false;
    case ui::EventKind::WindowClose:
      if (event.window == settings_window::kSettingsWindow) Call(hooks.apply_settings_window);
      if (event.window == menu::kMenuWindow) Call(hooks.close_menu_window);
      // Alt+F4 while the button window is active is the user closing the desktop, not the
      // program; a WM_CLOSE posted to it (the installer's way) quits.
      return event.window == kButtonWindow && event.item != ui::kClosedByUser;
    case ui::EventKind::WindowMoved:
      Call(hooks.window_moved, event.window);
      return false;
    case ui::EventKind::ScreenChanged:
      FollowScreenChange(hooks);
      return false;
    case ui::EventKind::TaskbarCreated:
      KeepButtonWindowInCorner();
      return false;
    case ui::EventKind::PressOutside:
      // The menu never had the front: the user clicked into another program.
      if (event.window == menu::kMenuWindow) Call(hooks.close_menu_window);
      return false;
    case ui::EventKind::EnvironmentChanged:
      // The programs launched from now on get the variables the user just changed.
      Call(hooks.refresh_environment);
      return false;
    case ui::EventKind::None:
      IdleWork(hooks);
      return false;
  }
  return false;
}

void IdleWork(const ProgramHooks& hooks) {
  KV_MARK();
  CloseMenuOnFocusLoss(hooks);
  OpenMenuInCorner(hooks);
  const std::int64_t now = services::MonotonicSeconds();
  SaveWhenDue(now, hooks);
  Call(hooks.refresh_check);
  // The first catalogue came while the menu showed the programs without it.
  if (hooks.menu_awaits_catalogue && hooks.menu_awaits_catalogue()) Rebuild(hooks);
  ScanWhenDue(now, hooks);
  PublishIdleWorkDone();
}

void SaveForSessionEnd(const ProgramHooks& hooks) {
  KV_MARK();
  // A settings window still being built (the end came while it answered other programs) holds
  // nothing the user chose yet: applying it would save its unmade controls' empty values.
  if (ui::WindowShown(settings_window::kSettingsWindow)) Call(hooks.apply_settings_window);
  SaveAndRecordFolder(hooks);
}

void ExitSequence(const ProgramHooks& hooks) {
  KV_MARK();
  SaveAndRecordFolder(hooks);
  const bool refresh_ended = !hooks.finish_refresh_at_exit || hooks.finish_refresh_at_exit();
  EndConsoleHelper();
  // A refresh that did not end may hold a lock the normal end needs. Everything is saved.
  if (!refresh_ended) services::EndProcessAtOnce(0);
}

int RunMainLoop(const ProgramHooks& hooks) {
  ui::SetSessionEndHandler([&hooks] { SaveForSessionEnd(hooks); });
  while (!DispatchEvent(ui::WaitEvent(kEventWaitMs), hooks)) {
    ui::DestroyRetiredWindows();  // a window closed by the event goes once it is handled
  }
  ui::SetSessionEndHandler(nullptr);  // the exit sequence saves from here on
  ExitSequence(hooks);
  return 0;
}

}  // namespace shell
