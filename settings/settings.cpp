#include "settings/settings.h"

namespace settings {

Settings& Current() {
  static Settings settings;
  return settings;
}

ColourSet& StandardColours() {
  static ColourSet colours{};
  return colours;
}

ColourSet& SkinColours() {
  static ColourSet colours{};
  return colours;
}

ColourSet& ActiveColours() {
  static ColourSet colours{};
  return colours;
}

BackgroundSlot& StandardBackground() {
  static BackgroundSlot slot{"", kStandardBackgroundImage, false};
  return slot;
}

BackgroundSlot& SkinBackground() {
  static BackgroundSlot slot{"", kSkinBackgroundImage, false};
  return slot;
}

}  // namespace settings
