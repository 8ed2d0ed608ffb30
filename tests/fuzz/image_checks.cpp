#include "tests/fuzz/image_checks.h"

#include <cstdlib>

namespace fuzz {

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckShape(const ui::Image& image, int width, int height) {
  Check(image.width == width && image.height == height);
  Check(image.bgra.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
}

}  // namespace

void ExerciseImage(const std::optional<ui::Image>& image, const std::uint8_t* data, std::size_t size) {
  if (!image) return;
  Check(image->width > 0 && image->height > 0);
  Check(image->width <= ui::kMaxImageSide && image->height <= ui::kMaxImageSide);
  CheckShape(*image, image->width, image->height);

  const std::uint8_t last = size > 0 ? data[size - 1] : 0;
  const std::uint8_t before = size > 1 ? data[size - 2] : 0;
  const int width = 1 + last % 48;
  const int height = 1 + before % 48;
  const ui::Image resized = ui::ResizeSmooth(*image, width, height);
  CheckShape(resized, width, height);

  static constexpr int kDepths[] = {32, 24, 16, 15, 8, 4, 1};
  const ui::Image reduced = ui::ConvertToDepth(resized, kDepths[(last ^ before) % 7]);
  CheckShape(reduced, width, height);
}

}  // namespace fuzz
