#pragma once
// What the controls of the last menu build stand for: one binding per clickable entry link and
// one label colour per label that paints transparently. Cleared at the start of every build.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/services.h"
#include "settings/settings.h"

namespace menu {

struct MenuBinding {
  int ControlId = 0;
  std::string LaunchPath;                   // what choosing the entry opens; empty for a running program
  std::string TargetPath;                   // the resolved target; empty for a running program
  services::WindowHandle WindowHandle = 0;  // window of a running program, else 0
  std::uint8_t CountsAsUse = 0;             // 1 when choosing the entry is recorded as a use
};

struct LabelColour {
  int ControlId = 0;
  settings::Colour Colour = 0;
};

std::vector<MenuBinding>& MenuBindings();
std::vector<LabelColour>& LabelColours();

// The binding of a control of the last build, or null.
const MenuBinding* FindBinding(int control);

}  // namespace menu
