// The one-pixel separator lines of the menu window, as bitmaps of the line colours.
#include "platform/environment.h"
#include "settings/derived_images.h"
#include "ui/image.h"
#include "ui/image_store.h"
#include "ui/scale.h"

namespace settings {

namespace {

// Sizes come from the preferences file unchecked, so they are computed in 64 bits and bounded
// before any memory is asked for.
void StoreLine(int number, std::int64_t width, std::int64_t height, Colour colour) {
  ui::FreeImage(number);
  if (width <= 0 || height <= 0 || width > ui::kMaxImageSide || height > ui::kMaxImageSide) return;
  ui::Image line;
  line.width = static_cast<int>(width);
  line.height = static_cast<int>(height);
  line.bgra.resize(static_cast<std::size_t>(width * height) * 4);
  for (std::size_t i = 0; i < line.bgra.size(); i += 4) {
    line.bgra[i] = static_cast<std::uint8_t>(colour >> 16);     // blue
    line.bgra[i + 1] = static_cast<std::uint8_t>(colour >> 8);  // green
    line.bgra[i + 2] = static_cast<std::uint8_t>(colour);       // red
    line.bgra[i + 3] = 255;
  }
  static_cast<void>(ui::StoreBitmap(number, line));  // a line that cannot be made is absent
}

}  // namespace

void MakeLineImages(const ColourSet& colours, std::int32_t column_width) {
  // In the menu's 96-DPI units; the runtime draws them at the menu's scale.
  const platform::Environment& screen = platform::Env();
  StoreLine(kVerticalLineImage, 1, std::int64_t{ui::Unscaled(screen.screen_bottom, screen.screen_dpi)} - 75,
            colours[kLineColorVertical]);
  StoreLine(kHorizontalLineImage, std::int64_t{column_width} - 10, 1, colours[kLineColorHorizontal]);
}

}  // namespace settings
