#include "tools/imagegen/ico_writer.h"

#include <algorithm>

#include "tools/imagegen/le_bytes.h"

namespace imagegen {
namespace {

constexpr std::uint32_t kDirectoryBytes = 6 + 16;  // ICONDIR + one ICONDIRENTRY

static_assert(IconFileBytes(16) == 1150, "the 16-pixel icons the program was built with");

// The layout of one picture of `side` x `side`.
struct Layout {
  int side;
  std::uint32_t colour_bytes;
  std::uint32_t mask_row_bytes;
  std::uint32_t mask_bytes;
  std::uint32_t entry_bytes;
};

Layout LayoutFor(int side) {
  Layout layout;
  layout.side = side;
  layout.colour_bytes = static_cast<std::uint32_t>(side) * side * 4;
  layout.mask_row_bytes = (static_cast<std::uint32_t>(side) + 31) / 32 * 4;
  layout.mask_bytes = side * layout.mask_row_bytes;
  layout.entry_bytes = 40 + layout.colour_bytes + layout.mask_bytes;
  return layout;
}

void PutDirectory(std::vector<std::uint8_t>& out, const Layout& layout) {
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // resource type: icon
  PutU16(out, 1);  // one picture
  PutU8(out, layout.side);  // 256 wraps to 0, as the format wants
  PutU8(out, layout.side);
  PutU8(out, 0);   // no palette
  PutU8(out, 0);   // reserved
  PutU16(out, 1);  // planes
  PutU16(out, 32);
  PutU32(out, layout.entry_bytes);
  PutU32(out, kDirectoryBytes);
}

const std::uint8_t* PixelAt(const ui::Image& picture, int x, int y) {
  return &picture.bgra[(static_cast<std::size_t>(y) * picture.width + x) * 4];
}

// Rows bottom-up. Fully transparent pixels get black colour: where alpha is ignored the
// screen is ANDed with the mask and XORed with this colour, and only black leaves it intact.
void PutColourRows(std::vector<std::uint8_t>& out, const ui::Image& picture) {
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* pixel = PixelAt(picture, x, y);
      const bool transparent = pixel[3] == 0;
      for (int channel = 0; channel < 4; ++channel) {
        out.push_back(transparent ? 0 : pixel[channel]);
      }
    }
  }
}

// Rows bottom-up, leftmost pixel in the highest bit; a set bit keeps the screen.
void PutMaskRows(std::vector<std::uint8_t>& out, const ui::Image& picture, const Layout& layout) {
  std::vector<std::uint8_t> row(layout.mask_row_bytes);
  for (int y = picture.height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    for (int x = 0; x < picture.width; ++x) {
      if (PixelAt(picture, x, y)[3] == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeIcon(const ui::Image& picture) {
  if (picture.empty() || picture.width != picture.height || picture.width > kMaxIconSide ||
      picture.bgra.size() != static_cast<std::size_t>(picture.width) * picture.height * 4) {
    return std::nullopt;
  }
  const Layout layout = LayoutFor(picture.width);
  std::vector<std::uint8_t> out;
  out.reserve(IconFileBytes(layout.side));
  PutDirectory(out, layout);
  // The height counts the colour rows and the mask rows.
  PutBitmapInfoHeader(out, layout.side, 2 * layout.side, 32,
                      layout.colour_bytes + layout.mask_bytes);
  PutColourRows(out, picture);
  PutMaskRows(out, picture, layout);
  return out;
}

}  // namespace imagegen
