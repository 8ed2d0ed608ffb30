#include "settings_window/skin_information.h"

#include "settings/colours.h"
#include "settings_window/numbers.h"
#include "shell/location_marker.h"
#include "shell/services.h"
#include "ui/message_box.h"

namespace settings_window {

std::string SkinInformationText(const settings::ColourSet& colours) {
  std::string text = "Courtesy = \r\n";
  for (const settings::ColourKey& key : settings::kColourKeys) {
    text += std::string(key.name) + " = " + settings::HtmlColourText(colours[key.index]) + "\r\n";
  }
  return text;
}

void CopySkinInformation() {
  KV_MARK();
  const std::string text = SkinInformationText(settings::StandardColours());
  services::SetClipboardText(text);
  ui::ShowMessage("Skin Information -> Clipboard", text, ui::Buttons::Ok, ui::Mark::Information, kSettingsWindow);
}

}  // namespace settings_window
