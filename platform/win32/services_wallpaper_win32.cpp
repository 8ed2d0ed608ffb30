#include <windows.h>

#include "platform/services.h"

namespace services {

std::string DesktopWallpaper() {
  char name[261] = {};
  if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof name - 1, name, 0)) return "";
  name[sizeof name - 1] = '\0';
  return name;
}

}  // namespace services
