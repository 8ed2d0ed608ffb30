#pragma once
// The pictures the menu window draws with, prepared by LoadSettings from the settings.
#include <cstdint>

#include "settings/settings.h"

namespace settings {

// Loads the slot's file, stretches it to the screen size, reduces it to the screen depth and
// stores it under the slot's image number. Without a file, or when the file is no picture, the
// slot has no image and its number holds nothing.
void PrepareBackground(BackgroundSlot& slot);

// Replaces the two line images: 1 x (screen bottom - 75) in LineColorVertical and
// (column width - 10) x 1 in LineColorHorizontal. A line whose size is not positive, or is
// beyond the image limits, is absent.
void MakeLineImages(const ColourSet& colours, std::int32_t column_width);

}  // namespace settings
