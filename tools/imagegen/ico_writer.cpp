#include "tools/imagegen/ico_writer.h"

#include "tools/imagegen/le_bytes.h"

namespace imagegen {
namespace {

constexpr std::uint32_t kDirectoryBytes = 6 + 16;             // ICONDIR + one ICONDIRENTRY
constexpr std::uint32_t kColourBytes = kIconSide * kIconSide * 4;
constexpr std::uint32_t kMaskRowBytes = 4;                    // 16 bits padded to 32
constexpr std::uint32_t kMaskBytes = kIconSide * kMaskRowBytes;
constexpr std::uint32_t kEntryBytes = 40 + kColourBytes + kMaskBytes;

static_assert(kDirectoryBytes + kEntryBytes == kIconFileBytes, "icon layout");

void PutDirectory(std::vector<std::uint8_t>& out) {
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // resource type: icon
  PutU16(out, 1);  // one picture
  PutU8(out, kIconSide);
  PutU8(out, kIconSide);
  PutU8(out, 0);   // no palette
  PutU8(out, 0);   // reserved
  PutU16(out, 1);  // planes
  PutU16(out, 32);
  PutU32(out, kEntryBytes);
  PutU32(out, kDirectoryBytes);
}

const std::uint8_t* PixelAt(const ui::Image& picture, int x, int y) {
  return &picture.bgra[(static_cast<std::size_t>(y) * kIconSide + x) * 4];
}

// Rows bottom-up. Fully transparent pixels get black colour: where alpha is ignored the
// screen is ANDed with the mask and XORed with this colour, and only black leaves it intact.
void PutColourRows(std::vector<std::uint8_t>& out, const ui::Image& picture) {
  for (int y = kIconSide - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSide; ++x) {
      const std::uint8_t* pixel = PixelAt(picture, x, y);
      const bool transparent = pixel[3] == 0;
      for (int channel = 0; channel < 4; ++channel) {
        out.push_back(transparent ? 0 : pixel[channel]);
      }
    }
  }
}

// Rows bottom-up, leftmost pixel in the highest bit; a set bit keeps the screen.
void PutMaskRows(std::vector<std::uint8_t>& out, const ui::Image& picture) {
  for (int y = kIconSide - 1; y >= 0; --y) {
    std::uint8_t row[kMaskRowBytes] = {};
    for (int x = 0; x < kIconSide; ++x) {
      if (PixelAt(picture, x, y)[3] == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row, row + kMaskRowBytes);
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeIcon16(const ui::Image& picture) {
  if (picture.width != kIconSide || picture.height != kIconSide ||
      picture.bgra.size() != kColourBytes) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> out;
  out.reserve(kIconFileBytes);
  PutDirectory(out);
  // The height counts the colour rows and the mask rows.
  PutBitmapInfoHeader(out, kIconSide, 2 * kIconSide, 32, kColourBytes + kMaskBytes);
  PutColourRows(out, picture);
  PutMaskRows(out, picture);
  return out;
}

}  // namespace imagegen
