#include "settings_window/skin_information.h"

#include "platform/location_marker.h"
#include "platform/services.h"
#include "settings/colours.h"
#include "settings_window/settings_controls.h"
#include "ui/message_box.h"

KV_MARKED_FILE(606);

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
