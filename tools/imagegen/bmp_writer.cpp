#include "tools/imagegen/bmp_writer.h"

#include "tools/imagegen/le_bytes.h"

namespace imagegen {
namespace {

constexpr std::uint32_t kHeaderBytes = 14 + 40;  // BITMAPFILEHEADER + BITMAPINFOHEADER
constexpr int kMaxSide = 4096;                   // far above any built-in picture

std::uint32_t PaddedRowBytes(int width) {
  return (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
}

void PutFileHeader(std::vector<std::uint8_t>& out, std::uint32_t file_bytes) {
  PutU8(out, 'B');
  PutU8(out, 'M');
  PutU32(out, file_bytes);
  PutU32(out, 0);  // reserved
  PutU32(out, kHeaderBytes);
}

// Rows bottom-up (positive height), each padded to a multiple of four bytes.
void PutRows(std::vector<std::uint8_t>& out, const ui::Image& picture) {
  const std::uint32_t padding = PaddedRowBytes(picture.width) - picture.width * 3u;
  for (int y = picture.height - 1; y >= 0; --y) {
    const std::uint8_t* row = &picture.bgra[static_cast<std::size_t>(y) * picture.width * 4];
    for (int x = 0; x < picture.width; ++x) out.insert(out.end(), row + x * 4, row + x * 4 + 3);
    out.insert(out.end(), padding, 0);
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeBmp24(const ui::Image& picture) {
  if (picture.empty() || picture.width > kMaxSide || picture.height > kMaxSide ||
      picture.bgra.size() != static_cast<std::size_t>(picture.width) * picture.height * 4) {
    return std::nullopt;
  }
  const std::uint32_t pixel_bytes = PaddedRowBytes(picture.width) * picture.height;
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytes + pixel_bytes);
  PutFileHeader(out, kHeaderBytes + pixel_bytes);
  PutBitmapInfoHeader(out, picture.width, picture.height, 24, pixel_bytes);
  PutRows(out, picture);
  return out;
}

}  // namespace imagegen
