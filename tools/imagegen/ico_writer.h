#pragma once
// The built-in icons: one square picture per .ico file, 32 bits per pixel with alpha plus an
// AND mask, so that the icon also draws right where alpha is ignored.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/image.h"

namespace imagegen {

// The directory keeps a side in one byte, 0 standing for 256.
constexpr int kMaxIconSide = 256;

// Mask rows are padded to whole 32-bit words.
constexpr std::size_t IconFileBytes(int side) {
  const std::size_t s = static_cast<std::size_t>(side);
  return 6 + 16 + 40 + s * s * 4 + s * ((s + 31) / 32 * 4);
}

// The complete .ico file, or nothing when the picture is not square, is larger than
// kMaxIconSide or does not hold width x height pixels.
std::optional<std::vector<std::uint8_t>> EncodeIcon(const ui::Image& picture);

}  // namespace imagegen
