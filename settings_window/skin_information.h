#pragma once
// The standard look written as a skin description, for skin authors.
#include <string>

#include "settings/settings.h"

namespace settings_window {

// "Courtesy = " and the twelve colour keys as "#RRGGBB", one line each, every line ending in
// CR LF: saved as skininfo.txt in a skin folder it reproduces the colours.
std::string SkinInformationText(const settings::ColourSet& colours);

// Puts the standard look's description on the clipboard and shows it.
void CopySkinInformation();

}  // namespace settings_window
