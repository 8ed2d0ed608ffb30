#pragma once
// The generated C++ source that carries the built-in images (see ui/builtin_images.h).
#include <cstdint>
#include <string>
#include <vector>

namespace imagegen {

struct NumberedImage {
  int number;
  std::vector<std::uint8_t> bytes;
};

// Defines ui::kBuiltinImages in the given order and ui::kBuiltinImageCount.
std::string BuiltinImagesSource(const std::vector<NumberedImage>& images);

}  // namespace imagegen
