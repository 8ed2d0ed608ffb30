#pragma once
// Plain in-memory pictures shared by the image loader, the scaler, the depth converter and the
// Windows side that turns them into bitmaps.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Top-down rows of 32-bit pixels, bytes in memory order B, G, R, A (the layout of a 32-bit
// Windows DIB). Pictures without alpha are fully opaque (A = 255).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgra;  // width * height * 4 bytes

  bool empty() const { return width <= 0 || height <= 0; }
};

// Limits that keep a hostile or broken file from exhausting memory.
constexpr std::size_t kMaxImageFileBytes = 64u * 1024 * 1024;
constexpr int kMaxImageSide = 16384;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
// The fuzzing build: a few bytes may claim a picture of the full size, which takes seconds to
// fill; smaller pictures keep each run quick while every check stays the same.
constexpr std::size_t kMaxImagePixels = 1024u * 1024;
#else
constexpr std::size_t kMaxImagePixels = 64u * 1024 * 1024;
#endif

// Decodes BMP, PNG, JPEG or ICO data, recognised by their leading bytes. Anything else, and
// any damaged or oversized file, gives no image.
std::optional<Image> DecodeImage(const std::uint8_t* data, std::size_t size);
std::optional<Image> LoadImageFile(const std::string& path);

// Resizes to exactly width x height with smoothing (area averaging when shrinking,
// bilinear when enlarging; per axis, so one axis may shrink while the other grows). Colours
// are weighted by alpha. An empty or inconsistent source, a size that is not positive or is
// beyond the limits above, or a lack of memory gives an empty image.
Image ResizeSmooth(const Image& source, int width, int height);

// Reduces the picture to what a display of `bits` per pixel can show (32, 24, 16, 15, 8, ...),
// so that drawing it on such a display gives the same colours; alpha becomes opaque.
// 32 and 24 keep the colours, 16 is 5-6-5, 15 is 5-5-5, 8 bits and below use 3-3-2 (an
// approximation: the real display uses a palette). Each reduced channel is expanded back to
// 8 bits by repeating its bits. Other values give an opaque copy.
Image ConvertToDepth(const Image& source, int bits);

}  // namespace ui
