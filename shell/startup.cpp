#include "shell/startup.h"

#include "menu/launch.h"
#include "platform/association.h"
#include "platform/environment.h"
#include "platform/fatal_error_report.h"
#include "platform/location_marker.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "platform/text.h"
#include "shell/main_loop.h"
#include "shell/start_marker.h"
#include "ui/font_numbers.h"
#include "ui/fonts.h"
#include "ui/image_store.h"
#include "ui/message_box.h"
#include "ui/window.h"

KV_MARKED_FILE(703);

namespace shell {

namespace {

void ResolveFolders(platform::Environment& environment) {
  environment.documents_folder = services::SpecialFolder(services::kFolderDocuments);
  environment.recent_folder = services::SpecialFolder(services::kFolderRecent);
  environment.windows_folder = services::SpecialFolder(services::kFolderWindows);
  const std::string app_data = services::SpecialFolder(services::kFolderAppData);
  environment.data_folder = app_data + platform::kProductName + "\\";
  environment.program_folder = platform::FolderPart(services::ProgramFilePath());
  services::CreateFolder(environment.data_folder);
}

void CreateFonts() {
  struct FontRequest {
    int number;
    const char* face;
    int points;
    bool bold;
  };
  static const FontRequest kFonts[] = {
      {ui::kFontReserved1, "Arial", 9, true},   {ui::kFontReserved8, "Arial", 8, true},
      {ui::kFontLargeTitle, "Arial", 11, true}, {ui::kFontInformation, "Arial", 10, true},
      {ui::kFontSmallBold, "Arial", 9, true},   {ui::kFontControl, "MS Sans Serif", 9, false},
      {ui::kFontLink, "MS Sans Serif", 9, false},
  };
  for (const FontRequest& font : kFonts) (void)ui::MakeFont(font.number, font.face, font.points, font.bold);
}

void NoteLaunch() { Loop().launched_since_scan = true; }

void InitialiseLoopState() {
  menu::SetLaunchListener(&NoteLaunch);
  LoopState& loop = Loop();
  loop.last_save = loop.last_scan = services::MonotonicSeconds();
  loop.corner_latch = false;
  loop.launched_since_scan = false;
}

}  // namespace

StartupOutcome RunStartup(const ProgramHooks& hooks) {
  KV_MARK();
  platform::InstallFatalErrorReport();
  platform::SetNormalEndPath(&ui::ShutDown);
  KV_MARK();
  if (services::Is32BitOn64BitWindows()) {
    ui::ShowMessage(platform::kProductName, kWrongArchitectureText);
    return StartupOutcome::End;
  }
  KV_MARK();
  platform::Environment& environment = platform::MutableEnv();
  ResolveFolders(environment);
  KV_MARK();
  ReplaceEarlierInstance(environment.data_folder, services::ProgramFilePath());
  services::HoldNamedMutex(platform::kProductName);
  KV_MARK();
  if (!platform::MeasureScreen()) {
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
  platform::SetHtmHandler(platform::AssociationLookup("htm"));
  InitialiseLoopState();
  // The first refresh starts now, not at the loop's first idle pass: it publishes the kept
  // catalogue, and the user's first click may come at once.
  Call(hooks.refresh_check);
  return StartupOutcome::EnterLoop;
}

void NormalEnd() {
  ui::ShutDown();
  platform::RemoveFatalErrorReport();
}

}  // namespace shell
