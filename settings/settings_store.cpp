#include "settings/settings_store.h"

#include "settings/autostart.h"
#include "settings/derived_images.h"
#include "settings/file_checks.h"
#include "settings/settings_keys.h"
#include "settings/skin_reading.h"
#include "settings/usage_lists.h"
#include "shell/environment.h"
#include "shell/location_marker.h"

namespace settings {

void LoadSettings() {
  KV_MARK();
  const std::string& data_folder = shell::Env().data_folder;
  Settings& options = Current();
  PreferencesFile file;
  static_cast<void>(file.Open(data_folder + kPreferencesFileName));  // missing: every default
  ReadSettingsKeys(file, options, StandardColours());
  file.Close();
  KV_MARK();
  LoadUsageLists(data_folder);
  KV_MARK();
  const bool skin_selected = !options.SelectedSkin.empty();
  if (skin_selected) ReadSkin(options.SelectedSkin);
  StandardBackground().file_name = FileHasContent(options.BackgroundFile) ? options.BackgroundFile : "";
  ActiveColours() = skin_selected ? SkinColours() : StandardColours();
  KV_MARK();
  PrepareBackground(StandardBackground());
  PrepareBackground(SkinBackground());
  MakeLineImages(ActiveColours(), options.DisplayColumnWidth);
}

void SaveSettings() {
  KV_MARK();
  const std::string& data_folder = shell::Env().data_folder;
  PreferencesFile file;
  if (file.Create(data_folder + kPreferencesFileName)) {
    WriteSettingsKeys(file, Current(), StandardColours());
    static_cast<void>(file.Close());  // a failed save leaves the previous file whole
  }
  KV_MARK();
  SaveUsageLists(data_folder);
  KV_MARK();
  UpdateAutostart(Current().LoadOnWindowsStart);
}

}  // namespace settings
