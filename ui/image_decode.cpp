#include <cstring>
#include <new>

#include "ui/image.h"
#include "ui/image_decoders.h"
#include "ui/text_file.h"

namespace ui {
namespace detail {

bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return false;
  return static_cast<std::uint64_t>(width * height) <= kMaxImagePixels;
}

std::optional<Image> AllocateImage(std::int64_t width, std::int64_t height) {
  if (!ImageSizeAllowed(width, height)) return std::nullopt;
  Image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  // A picture within the limits can still be too large for a 32-bit process: that is
  // a picture we cannot show, not a reason to stop the program.
  try {
    image.bgra.assign(static_cast<std::size_t>(width * height) * 4, 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  for (std::size_t i = 3; i < image.bgra.size(); i += 4) image.bgra[i] = 255;
  return image;
}

}  // namespace detail

namespace {

bool StartsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t length) {
  return size >= length && std::memcmp(data, magic, length) == 0;
}

}  // namespace

std::optional<Image> DecodeImage(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) return std::nullopt;
  if (StartsWith(data, size, "BM", 2)) return detail::DecodeBmp(data, size);
  if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return detail::DecodePng(data, size);
  if (StartsWith(data, size, "\xff\xd8\xff", 3)) return detail::DecodeJpeg(data, size);
  if (StartsWith(data, size, "\0\0\1\0", 4)) return detail::DecodeIco(data, size);
  return std::nullopt;
}

std::optional<Image> LoadImageFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxImageFileBytes);
  if (!bytes) return std::nullopt;
  return DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
}

}  // namespace ui
