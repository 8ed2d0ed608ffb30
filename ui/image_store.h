#pragma once
// Pictures held by number for windows and controls: icons from .ico data and bitmaps made from
// decoded images.
#include <cstddef>

#include "ui/image.h"

namespace ui {

// Replaces what the number held. False when the data cannot be used (nothing is stored).
[[nodiscard]] bool StoreIcon(int number, const unsigned char* ico, std::size_t size);
[[nodiscard]] bool StoreBitmap(int number, const Image& image);
// Stores images 0-21 and 30 from the data carried in the program; false if any failed.
[[nodiscard]] bool StoreBuiltinImages();

bool HasImage(int number);
void FreeImage(int number);
void ImageSize(int number, int* width, int* height);

// Colour depth of the primary display in bits per pixel.
int ScreenDepth();

}  // namespace ui
