// Icon files: a directory of pictures, each a bitmap (colour rows + AND mask) or a PNG.
// We show the 16 x 16 32-bit picture when there is one, else the largest.
#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/image_decoders.h"

namespace ui::detail {
namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kBitmapBitsOffset = 14;  // biBitCount inside a BITMAPINFOHEADER
// A hostile file can list thousands of large entries that each fail late.
constexpr std::size_t kMaxAttempts = 4;

struct IconEntry {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::size_t offset = 0;
  std::size_t size = 0;
};

bool IsPng(const std::uint8_t* data, std::size_t size) {
  return size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
}

// The directory's depth is often 0 or wrong; the picture's own header is what counts.
int ActualBits(const std::uint8_t* picture, std::size_t size, int directory_bits) {
  if (IsPng(picture, size)) return 32;
  if (size >= kBitmapBitsOffset + 2) return ReadU16(picture + kBitmapBitsOffset);
  return directory_bits;
}

// The entries whose data lies inside the file.
std::vector<IconEntry> ReadEntries(const std::uint8_t* data, std::size_t size) {
  std::vector<IconEntry> entries;
  const std::size_t count = std::min<std::size_t>(ReadU16(data + 4),
                                                  (size - kDirectoryHeaderSize) / kEntrySize);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* raw = data + kDirectoryHeaderSize + i * kEntrySize;
    IconEntry entry;
    entry.width = raw[0] == 0 ? 256 : raw[0];
    entry.height = raw[1] == 0 ? 256 : raw[1];
    entry.size = ReadU32(raw + 8);
    entry.offset = ReadU32(raw + 12);
    if (entry.offset > size || entry.size > size - entry.offset) continue;
    entry.bits = ActualBits(data + entry.offset, entry.size, ReadU16(raw + 6));
    entries.push_back(entry);
  }
  return entries;
}

bool Preferred(const IconEntry& a, const IconEntry& b) {
  const bool a_small = a.width == 16 && a.height == 16 && a.bits == 32;
  const bool b_small = b.width == 16 && b.height == 16 && b.bits == 32;
  if (a_small != b_small) return a_small;
  const long a_area = static_cast<long>(a.width) * a.height;
  const long b_area = static_cast<long>(b.width) * b.height;
  if (a_area != b_area) return a_area > b_area;
  return a.bits > b.bits;
}

}  // namespace

std::optional<Image> DecodeIco(const std::uint8_t* data, std::size_t size) {
  if (size < kDirectoryHeaderSize) return std::nullopt;
  std::vector<IconEntry> entries = ReadEntries(data, size);
  std::stable_sort(entries.begin(), entries.end(), Preferred);
  // A damaged entry should not hide the others.
  const std::size_t attempts = std::min(entries.size(), kMaxAttempts);
  for (std::size_t i = 0; i < attempts; ++i) {
    const IconEntry& entry = entries[i];
    const std::uint8_t* picture = data + entry.offset;
    std::optional<Image> image = IsPng(picture, entry.size) ? DecodePng(picture, entry.size)
                                                            : DecodeIconBitmap(picture, entry.size);
    if (image) return image;
  }
  return std::nullopt;
}

}  // namespace ui::detail
