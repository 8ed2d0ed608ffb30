#include "settings/skin_reading.h"

#include "platform/environment.h"
#include "platform/location_marker.h"
#include "settings/colours.h"
#include "settings/file_checks.h"
#include "settings/numbers.h"
#include "settings/preferences_file.h"

KV_MARKED_FILE(303);

namespace settings {

std::string SkinsFolder() { return platform::Env().program_folder + "Skins\\"; }

void ReadSkin(const std::string& skin_name) {
  KV_MARK();
  const std::string folder = SkinsFolder() + skin_name + "\\";
  PreferencesFile skin_info;
  if (skin_info.Open(folder + "skininfo.txt")) {
    for (const ColourKey& key : kColourKeys) {
      const std::string html = skin_info.Read(key.name, SwapColourText(key.default_text, kTowardsHtml));
      SkinColours()[key.index] = static_cast<Colour>(ParseNumber32(SwapColourText(html, kTowardsDefaults)));
    }
    skin_info.Close();
  }
  const std::string background = folder + "background.jpg";
  SkinBackground().file_name = FileHasContent(background) ? background : "";
}

}  // namespace settings
