#include "settings/settings.h"

namespace settings {

Settings& Current() {
  static Settings settings;
  return settings;
}

}  // namespace settings
