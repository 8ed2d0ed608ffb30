#pragma once
// The menu's opacity (Transparency, 0-255) as the percentage the settings window shows.
#include <cstdint>

namespace settings_window {

// ((256 - transparency) x 100) / 255, truncated: 230 shows 10, 255 shows 0, 128 shows 50.
std::int64_t PercentShown(std::int64_t transparency);
// 255 - (percent x 255) / 100, truncated: the opacity of a percentage (10 gives 230). Every
// slider position 0-50 comes back as itself through PercentShown.
std::int64_t OpacityOfPercent(std::int64_t percent);

}  // namespace settings_window
