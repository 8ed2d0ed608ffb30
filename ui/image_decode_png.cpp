// PNG through libpng's classic interface: every colour type and bit depth is expanded
// to 8-bit BGRA (palette and transparency chunks become alpha; 16-bit samples are
// scaled, not gamma-corrected, so the stored values are what we show).
//
// libpng reports errors by longjmp. The functions that call setjmp hold no C++ object
// with a destructor; the image and the row pointers belong to their caller.
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

#include "ui/image_decoders.h"

namespace ui::detail {
namespace {

struct PngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->position) png_error(png, "truncated");
  std::memcpy(out, source->data + source->position, length);
  source->position += length;
}

[[noreturn]] void FailQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Owns libpng's two structures for the length of one decode.
struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;

  PngReader() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailQuietly, IgnoreWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
};

void RequestBgra(png_structp png, png_infop info) {
  const int colour_type = png_get_color_type(png, info);
  png_set_expand(png);  // palette -> RGB, grey below 8 bits -> 8, tRNS -> alpha
  png_set_scale_16(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // no effect when alpha is already there
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Reads the header and sets up the conversion. False on any error.
bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);
  RequestBgra(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  return png_get_rowbytes(png, info) == static_cast<png_size_t>(*width) * 4;
}

bool ReadPixels(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

std::optional<Image> DecodePng(const std::uint8_t* data, std::size_t size) {
  PngReader reader;
  if (!reader.info) return std::nullopt;
  PngSource source{data, size, 0};
  png_set_read_fn(reader.png, &source, ReadFromMemory);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  if (!ReadHeader(reader.png, reader.info, &width, &height)) return std::nullopt;
  std::optional<Image> image = AllocateImage(width, height);
  if (!image) return std::nullopt;
  std::vector<png_bytep> rows;
  try {
    rows.resize(height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image->bgra.data() + std::size_t{y} * width * 4;
  if (!ReadPixels(reader.png, rows.data())) return std::nullopt;
  return image;
}

}  // namespace ui::detail
