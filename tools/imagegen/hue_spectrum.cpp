#include "tools/imagegen/hue_spectrum.h"

#include <cmath>
#include <cstdint>

namespace imagegen {
namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

std::uint8_t Level(double fraction) {
  return static_cast<std::uint8_t>(std::lround(fraction * 255.0));
}

// Hue in sixths of the circle (0 <= sixths < 6), saturation and value 1.
Rgb HueToRgb(double sixths) {
  const int sector = static_cast<int>(sixths) % 6;
  const double rising = sixths - std::floor(sixths);
  const std::uint8_t up = Level(rising);
  const std::uint8_t down = Level(1.0 - rising);
  switch (sector) {
    case 0: return {255, up, 0};
    case 1: return {down, 255, 0};
    case 2: return {0, 255, up};
    case 3: return {0, down, 255};
    case 4: return {up, 0, 255};
    default: return {255, 0, down};
  }
}

}  // namespace

ui::Image HueSpectrum(int width, int height) {
  ui::Image strip;
  if (width <= 0 || height <= 0) return strip;
  strip.width = width;
  strip.height = height;
  strip.bgra.resize(static_cast<std::size_t>(width) * height * 4);
  for (int x = 0; x < width; ++x) {
    // The left edge is hue 0; the right edge stops one step short of coming back to it.
    const Rgb colour = HueToRgb(6.0 * x / width);
    for (int y = 0; y < height; ++y) {
      std::uint8_t* pixel = &strip.bgra[(static_cast<std::size_t>(y) * width + x) * 4];
      pixel[0] = colour.b;
      pixel[1] = colour.g;
      pixel[2] = colour.r;
      pixel[3] = 255;
    }
  }
  return strip;
}

}  // namespace imagegen
