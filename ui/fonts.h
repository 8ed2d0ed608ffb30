#pragma once
// Fonts held by number. Sizes are in points; the pixel height follows the display's resolution.
#include <string>

namespace ui {

[[nodiscard]] bool MakeFont(int number, const std::string& face, int points, bool bold);

}  // namespace ui
