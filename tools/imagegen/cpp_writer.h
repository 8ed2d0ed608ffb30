#pragma once
// The generated C++ source that carries the built-in images (see ui/builtin_images.h).
#include <cstdint>
#include <string>
#include <vector>

namespace imagegen {

constexpr int kBaseDpi = 96;

struct NumberedImage {
  int number;
  int dpi;  // the screen resolution the picture is drawn for
  std::vector<std::uint8_t> bytes;
};

// Defines ui::kBuiltinImages from `images` (the 96-DPI pictures) and ui::kScaledBuiltinImages
// from `scaled`, each in the given order, and their counts.
std::string BuiltinImagesSource(const std::vector<NumberedImage>& images,
                                const std::vector<NumberedImage>& scaled);

}  // namespace imagegen
