#include "ui/scale.h"

#include <cstdint>
#include <cstdlib>

namespace ui {

namespace {

constexpr int kPictureDpis[] = {96, 120, 144, 192};

}  // namespace

int Scaled(int value, int dpi) {
  const std::int64_t product = std::int64_t{value} * dpi;
  const std::int64_t magnitude = (std::llabs(product) * 2 + kBaseDpi) / (2 * kBaseDpi);
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

Box ScaledBox(Box box, int dpi) {
  const int left = Scaled(box.x, dpi);
  const int top = Scaled(box.y, dpi);
  return {left, top, Scaled(box.x + box.width, dpi) - left, Scaled(box.y + box.height, dpi) - top};
}

int Unscaled(int device_length, int dpi) {
  if (dpi <= 0) return device_length;
  return static_cast<int>(std::int64_t{device_length} * kBaseDpi / dpi);
}

int PictureDpi(int dpi) {
  int best = kPictureDpis[0];
  for (const int candidate : kPictureDpis) {
    if (std::abs(candidate - dpi) <= std::abs(best - dpi)) best = candidate;
  }
  return best;
}

}  // namespace ui
