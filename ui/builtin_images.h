#pragma once
// The pictures carried inside the program: images 0-21 are complete 16 x 16 32-bit .ico
// files of 1150 bytes, image 30 is a 210 x 10 24-bit .bmp file of 6374 bytes. The data is
// generated at build time from the sources in art/.
#include <cstddef>

namespace ui {

struct BuiltinImageData {
  int number;
  const unsigned char* bytes;
  std::size_t size;
};

extern const BuiltinImageData kBuiltinImages[];  // in number order
extern const std::size_t kBuiltinImageCount;     // 23

// The same pictures drawn for screens of 120, 144 and 192 DPI (see ui/scale.h): the icons at
// 20, 24 and 32 pixels, the hue strip at 263 x 13, 315 x 15 and 420 x 20. In number order, and
// for each number in rising DPI.
struct ScaledImageData {
  int number;
  int dpi;
  const unsigned char* bytes;
  std::size_t size;
};

extern const ScaledImageData kScaledBuiltinImages[];
extern const std::size_t kScaledBuiltinImageCount;  // 69

}  // namespace ui
