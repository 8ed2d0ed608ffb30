#pragma once
// The built-in icons: one 16 x 16 picture per .ico file, 32 bits per pixel with alpha plus
// an AND mask, so that the icon also draws right where alpha is ignored.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/image.h"

namespace imagegen {

constexpr int kIconSide = 16;
constexpr std::size_t kIconFileBytes = 1150;

// The complete .ico file, or nothing when the picture is not 16 x 16.
std::optional<std::vector<std::uint8_t>> EncodeIcon16(const ui::Image& picture);

}  // namespace imagegen
