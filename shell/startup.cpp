#include "shell/startup.h"

#include "shell/association.h"
#include "shell/environment.h"
#include "shell/fatal_error_report.h"
#include "shell/location_marker.h"
#include "shell/main_loop.h"
#include "shell/services.h"
#include "shell/start_marker.h"
#include "ui/fonts.h"
#include "ui/image_store.h"
#include "ui/message_box.h"
#include "ui/strings.h"
#include "ui/window.h"

namespace shell {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

void ResolveFolders(Environment& environment) {
  environment.documents_folder = services::SpecialFolder(services::kFolderDocuments);
  environment.recent_folder = services::SpecialFolder(services::kFolderRecent);
  environment.windows_folder = services::SpecialFolder(services::kFolderWindows);
  const std::string app_data = services::SpecialFolder(services::kFolderAppData);
  environment.data_folder = app_data + kProductName + "\\";
  environment.program_folder = FolderOf(services::ProgramFilePath());
  services::CreateFolder(environment.data_folder);
}

bool MeasureScreen(Environment& environment) {
  const std::optional<services::ScreenInfo> screen = services::MeasureScreen();
  if (!screen) return false;
  environment.screen_right = screen->right;
  environment.screen_bottom = screen->bottom;
  environment.screen_depth = screen->depth;
  return true;
}

void CreateFonts() {
  struct FontSpec {
    int number;
    const char* face;
    int points;
    bool bold;
  };
  static const FontSpec kFonts[] = {
      {kFontReserved1, "Arial", 9, true},   {kFontReserved8, "Arial", 8, true},
      {kFontLargeTitle, "Arial", 11, true}, {kFontInformation, "Arial", 10, true},
      {kFontSmallBold, "Arial", 9, true},   {kFontControl, "MS Sans Serif", 9, false},
      {kFontLink, "MS Sans Serif", 9, false},
  };
  for (const FontSpec& font : kFonts) (void)ui::MakeFont(font.number, font.face, font.points, font.bold);
}

void InitialiseLoopState() {
  LoopState& loop = Loop();
  loop.last_save = loop.last_scan = services::LocalSeconds();
  loop.corner_latch = false;
  loop.launched_since_scan = false;
}

}  // namespace

StartupOutcome RunStartup(const ProgramHooks& hooks) {
  KV_MARK();
  InstallFatalErrorReport();
  SetNormalEndPath(&ui::ShutDown);
  KV_MARK();
  if (services::Is32BitOn64BitWindows()) {
    ui::ShowMessage(kProductName, kWrongArchitectureText);
    return StartupOutcome::End;
  }
  KV_MARK();
  Environment& environment = MutableEnv();
  ResolveFolders(environment);
  KV_MARK();
  ReplaceEarlierInstance(environment.data_folder, services::ProgramFilePath());
  services::HoldNamedMutex(kProductName);
  KV_MARK();
  if (!MeasureScreen(environment)) {
    ui::ShowMessage(kNoScreenTitle, kNoScreenText);
    return StartupOutcome::End;
  }
  KV_MARK();
  environment.cursors_available = services::LoadCursors();
  CreateFonts();
  // PNG and JPEG decoding are part of the image runtime; nothing to register.
  (void)ui::StoreBuiltinImages();
  KV_MARK();
  Call(hooks.load_settings);
  KV_MARK();
  Call(hooks.create_button_window);
  KV_MARK();
  Call(hooks.write_console_helper);
  KV_MARK();
  RememberRunningPrograms(Loop().known_processes);
  SetHtmHandler(AssociationLookup("htm"));
  InitialiseLoopState();
  return StartupOutcome::EnterLoop;
}

void NormalEnd() {
  ui::ShutDown();
  RemoveFatalErrorReport();
}

}  // namespace shell
