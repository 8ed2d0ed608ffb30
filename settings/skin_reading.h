#pragma once
// Reading the selected skin: its colours and the name of its background picture.
#include <string>

namespace settings {

// Program folder + "Skins\"; one sub-folder per skin.
std::string SkinsFolder();

// Reads the skin's skininfo.txt into SkinColours (a missing key gives the standard default, a
// value that is not "#RRGGBB"-long gives black; a missing file leaves SkinColours unchanged)
// and sets SkinBackground's file name to its background.jpg when that holds any bytes.
void ReadSkin(const std::string& skin_name);

}  // namespace settings
