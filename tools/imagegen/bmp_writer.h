#pragma once
// Uncompressed 24-bit .bmp files (alpha is dropped).
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/image.h"

namespace imagegen {

// The complete file, or nothing for an empty or inconsistent picture.
std::optional<std::vector<std::uint8_t>> EncodeBmp24(const ui::Image& picture);

}  // namespace imagegen
