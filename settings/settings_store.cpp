#include "settings/settings_store.h"

#include "platform/environment.h"
#include "platform/location_marker.h"
#include "settings/autostart.h"
#include "settings/derived_images.h"
#include "settings/file_checks.h"
#include "settings/settings_keys.h"
#include "settings/skin_reading.h"
#include "settings/unsaved_files.h"
#include "settings/usage_lists.h"

KV_MARKED_FILE(302);

namespace settings {

void LoadSettings() {
  KV_MARK();
  const std::string& data_folder = platform::Env().data_folder;
  Settings& options = Current();
  const std::string preferences_path = data_folder + kPreferencesFileName;
  // After a failed save the settings in memory are newer than the file: they stay.
  if (!LastSaveFailed(preferences_path)) {
    PreferencesFile file;
    static_cast<void>(file.Open(preferences_path));  // missing: every default
    ReadSettingsKeys(file, options, StandardColours());
    file.Close();
  }
  KV_MARK();
  LoadUsageLists(data_folder);
  KV_MARK();
  const bool skin_selected = !options.SelectedSkin.empty();
  if (skin_selected) ReadSkin(options.SelectedSkin);
  StandardBackground().file_name = FileHasContent(options.BackgroundFile) ? options.BackgroundFile : "";
  ActiveColours() = skin_selected ? SkinColours() : StandardColours();
  PrepareScreenImages();
}

void PrepareScreenImages() {
  KV_MARK();
  PrepareBackground(StandardBackground());
  PrepareBackground(SkinBackground());
  MakeLineImages(ActiveColours(), Current().DisplayColumnWidth);
}

void SaveSettings() {
  KV_MARK();
  const std::string& data_folder = platform::Env().data_folder;
  const std::string preferences_path = data_folder + kPreferencesFileName;
  PreferencesFile file;
  bool written = file.Create(preferences_path);
  if (written) {
    WriteSettingsKeys(file, Current(), StandardColours());
    written = file.Close();  // a failed save leaves the previous file whole
  }
  NoteSaveResult(preferences_path, written);
  KV_MARK();
  SaveUsageLists(data_folder);
  KV_MARK();
  UpdateAutostart(Current().LoadOnWindowsStart);
}

}  // namespace settings
