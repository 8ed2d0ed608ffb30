#pragma once
// What every image fuzz target does with a decoded picture: the checks of a well-formed image,
// then the resizing and depth reduction the program applies to backgrounds and icons.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "ui/image.h"

namespace fuzz {

// Aborts on an inconsistent image; resizes it to a small size picked from the input's last
// bytes and reduces its depth.
void ExerciseImage(const std::optional<ui::Image>& image, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
