// Checks the generated built-in images: exact file layouts, and pictures that decode to what
// the program expects to draw.
#include "ui/builtin_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "ui/image.h"

namespace {

constexpr int kSpectrumNumber = 30;

unsigned U16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t U32(const unsigned char* p) {
  return U16(p) | (static_cast<std::uint32_t>(U16(p + 2)) << 16);
}

ui::Image Decode(const ui::BuiltinImageData& data) {
  std::optional<ui::Image> image = ui::DecodeImage(data.bytes, data.size);
  return image ? *image : ui::Image{};
}

struct Pixel {
  int b, g, r, a;
};

Pixel At(const ui::Image& image, int x, int y) {
  const std::uint8_t* p = &image.bgra[(static_cast<std::size_t>(y) * image.width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

bool BlueDominant(Pixel p) { return p.a == 255 && p.b > p.r + 60 && p.b > p.g + 30; }
bool SoftRed(Pixel p) { return p.a == 255 && p.r > 200 && p.r > p.b + 60; }
bool White(Pixel p) { return p.a == 255 && p.r > 240 && p.g > 240 && p.b > 240; }

int CountPixels(const ui::Image& image, bool (*matches)(Pixel)) {
  int count = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) count += matches(At(image, x, y)) ? 1 : 0;
  }
  return count;
}

}  // namespace

TEST(BuiltinImages, AllPresentInNumberOrder) {
  ASSERT_EQ(ui::kBuiltinImageCount, 23u);
  for (int i = 0; i < 22; ++i) EXPECT_EQ(ui::kBuiltinImages[i].number, i);
  EXPECT_EQ(ui::kBuiltinImages[22].number, kSpectrumNumber);
}

TEST(BuiltinImages, IconsHaveTheExactIcoLayout) {
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    const ui::BuiltinImageData& icon = ui::kBuiltinImages[i];
    ASSERT_EQ(icon.size, 1150u);
    const unsigned char* b = icon.bytes;
    EXPECT_EQ(U16(b), 0u);
    EXPECT_EQ(U16(b + 2), 1u);  // icon, not cursor
    EXPECT_EQ(U16(b + 4), 1u);  // one entry
    EXPECT_EQ(b[6], 16);
    EXPECT_EQ(b[7], 16);
    EXPECT_EQ(b[8], 0);  // no palette
    EXPECT_EQ(U16(b + 10), 1u);
    EXPECT_EQ(U16(b + 12), 32u);
    EXPECT_EQ(U32(b + 14), 1128u);  // the entry runs exactly to the end of the file
    EXPECT_EQ(U32(b + 18), 22u);
    const unsigned char* header = b + 22;
    EXPECT_EQ(U32(header), 40u);
    EXPECT_EQ(U32(header + 4), 16u);
    EXPECT_EQ(U32(header + 8), 32u);  // colour rows + mask rows
    EXPECT_EQ(U16(header + 12), 1u);
    EXPECT_EQ(U16(header + 14), 32u);
    EXPECT_EQ(U32(header + 16), 0u);  // uncompressed
  }
}

// Where alpha is ignored only the mask and colour count: transparent pixels need a set
// mask bit and black colour, every other pixel a clear bit.
TEST(BuiltinImages, IconMaskMatchesAlpha) {
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    const unsigned char* colour = ui::kBuiltinImages[i].bytes + 62;
    const unsigned char* mask = colour + 1024;
    for (int row = 0; row < 16; ++row) {  // both bottom-up
      EXPECT_EQ(mask[row * 4 + 2], 0);
      EXPECT_EQ(mask[row * 4 + 3], 0);
      for (int x = 0; x < 16; ++x) {
        const unsigned char* pixel = colour + (row * 16 + x) * 4;
        const bool masked = (mask[row * 4 + x / 8] & (0x80 >> (x % 8))) != 0;
        EXPECT_EQ(masked, pixel[3] == 0) << "row " << row << " x " << x;
        if (masked) {
          EXPECT_EQ(pixel[0] | pixel[1] | pixel[2], 0) << "row " << row << " x " << x;
        }
      }
    }
  }
}

TEST(BuiltinImages, TilesAreBlueWithTransparentCornersAndAWhiteGlyph) {
  for (int i = 1; i < 22; ++i) {
    SCOPED_TRACE(i);
    const ui::Image tile = Decode(ui::kBuiltinImages[i]);
    ASSERT_EQ(tile.width, 16);
    ASSERT_EQ(tile.height, 16);
    EXPECT_EQ(At(tile, 0, 0).a, 0);
    EXPECT_EQ(At(tile, 15, 0).a, 0);
    EXPECT_EQ(At(tile, 0, 15).a, 0);
    EXPECT_EQ(At(tile, 15, 15).a, 0);
    for (int y = 4; y < 12; ++y) EXPECT_TRUE(BlueDominant(At(tile, 1, y))) << "y " << y;
    EXPECT_GT(CountPixels(tile, White), 10);
  }
}

TEST(BuiltinImages, EmblemIsABlueShapeWithoutTile) {
  const ui::Image emblem = Decode(ui::kBuiltinImages[0]);
  ASSERT_EQ(emblem.width, 16);
  ASSERT_EQ(emblem.height, 16);
  EXPECT_GT(CountPixels(emblem, BlueDominant), 40);
  EXPECT_GT(CountPixels(emblem, [](Pixel p) { return p.a == 0; }), 60);
  EXPECT_EQ(CountPixels(emblem, [](Pixel p) { return p.a > 0 && p.r > 240 && p.g > 240; }), 0);
}

// The "off" pictures must be told apart from their "on" pictures at a glance.
TEST(BuiltinImages, CrossedOutIconsCarryTheRedBar) {
  const int pairs[][2] = {{4, 7}, {5, 8}, {6, 9}, {13, 14}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[1]);
    EXPECT_EQ(CountPixels(Decode(ui::kBuiltinImages[pair[0]]), SoftRed), 0);
    EXPECT_GE(CountPixels(Decode(ui::kBuiltinImages[pair[1]]), SoftRed), 8);
  }
  EXPECT_GE(CountPixels(Decode(ui::kBuiltinImages[12]), SoftRed), 8);
}

TEST(BuiltinImages, HueStripIsAnExactBmpFromRedBackToRed) {
  const ui::BuiltinImageData& data = ui::kBuiltinImages[22];
  ASSERT_EQ(data.size, 6374u);
  EXPECT_EQ(data.bytes[0], 'B');
  EXPECT_EQ(data.bytes[1], 'M');
  EXPECT_EQ(U32(data.bytes + 2), 6374u);
  EXPECT_EQ(U32(data.bytes + 10), 54u);
  EXPECT_EQ(U16(data.bytes + 28), 24u);

  const ui::Image strip = Decode(data);
  ASSERT_EQ(strip.width, 210);
  ASSERT_EQ(strip.height, 10);
  for (int y = 0; y < 10; ++y) {
    const Pixel red = At(strip, 0, y), green = At(strip, 70, y), blue = At(strip, 140, y);
    const Pixel last = At(strip, 209, y);
    EXPECT_TRUE(red.r == 255 && red.g == 0 && red.b == 0) << "y " << y;
    EXPECT_TRUE(green.g > 240 && green.r < 15 && green.b < 15) << "y " << y;
    EXPECT_TRUE(blue.b > 240 && blue.r < 15 && blue.g < 15) << "y " << y;
    EXPECT_TRUE(last.r > 240 && last.g < 15 && last.b < 15) << "y " << y;
    EXPECT_TRUE(At(strip, 35, y).r > 240 && At(strip, 35, y).g > 240) << "yellow, y " << y;
  }
}

namespace {

constexpr int kScaledDpis[] = {120, 144, 192};
constexpr int kScaledIconSides[] = {20, 24, 32};
constexpr int kScaledStripSizes[][2] = {{263, 13}, {315, 15}, {420, 20}};
constexpr std::size_t kScaledIconEntries = 22 * 3;

ui::Image Decode(const ui::ScaledImageData& data) {
  return Decode(ui::BuiltinImageData{data.number, data.bytes, data.size});
}

// Mean difference per channel of alpha-weighted colour and alpha, 0 (same) to 255.
double Difference(const ui::Image& a, const ui::Image& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.bgra.size(); i += 4) {
    for (int c = 0; c < 3; ++c) {
      sum += std::abs(a.bgra[i + c] * a.bgra[i + 3] - b.bgra[i + c] * b.bgra[i + 3]) / 255.0;
    }
    sum += std::abs(a.bgra[i + 3] - b.bgra[i + 3]);
  }
  return sum / a.bgra.size();
}

bool SamePicture(const ui::BuiltinImageData& a, const ui::BuiltinImageData& b) {
  return a.size == b.size && std::equal(a.bytes, a.bytes + a.size, b.bytes);
}

}  // namespace

TEST(BuiltinImages, ScaledPicturesInNumberThenDpiOrder) {
  ASSERT_EQ(ui::kScaledBuiltinImageCount, 69u);
  for (std::size_t i = 0; i < 69; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ui::kScaledBuiltinImages[i].number, i < kScaledIconEntries ? int(i / 3) : 30);
    EXPECT_EQ(ui::kScaledBuiltinImages[i].dpi, kScaledDpis[i % 3]);
  }
}

TEST(BuiltinImages, ScaledIconsHaveTheIcoLayoutAndMaskOfTheirSide) {
  for (std::size_t i = 0; i < kScaledIconEntries; ++i) {
    SCOPED_TRACE(i);
    const int side = kScaledIconSides[i % 3];
    const ui::ScaledImageData& icon = ui::kScaledBuiltinImages[i];
    const std::size_t colour_bytes = side * side * 4, mask_row_bytes = 4;  // sides up to 32
    ASSERT_EQ(icon.size, 22 + 40 + colour_bytes + side * mask_row_bytes);
    const unsigned char* b = icon.bytes;
    EXPECT_EQ(b[6], side);
    EXPECT_EQ(b[7], side);
    EXPECT_EQ(U16(b + 12), 32u);
    EXPECT_EQ(U32(b + 14), icon.size - 22);
    EXPECT_EQ(U32(b + 22 + 4), std::uint32_t(side));
    EXPECT_EQ(U32(b + 22 + 8), std::uint32_t(2 * side));
    const ui::Image decoded = Decode(icon);
    EXPECT_EQ(decoded.width, side);
    EXPECT_EQ(decoded.height, side);

    const unsigned char* colour = b + 62;
    const unsigned char* mask = colour + colour_bytes;
    for (int row = 0; row < side; ++row) {
      for (int x = 0; x < 32; ++x) {
        const bool masked = (mask[row * mask_row_bytes + x / 8] & (0x80 >> (x % 8))) != 0;
        if (x >= side) {
          EXPECT_FALSE(masked) << "padding, row " << row << " x " << x;
          continue;
        }
        const unsigned char* pixel = colour + (row * side + x) * 4;
        EXPECT_EQ(masked, pixel[3] == 0) << "row " << row << " x " << x;
        if (masked) {
          EXPECT_EQ(pixel[0] | pixel[1] | pixel[2], 0) << "row " << row << " x " << x;
        }
      }
    }
  }
}

// Brought down to 16 pixels, each icon must be closer to its own 16-pixel picture than to any
// other icon's, so that a mix-up of numbers would show.
TEST(BuiltinImages, ScaledIconsLookLikeTheir16PixelSelves) {
  for (std::size_t i = 0; i < kScaledIconEntries; ++i) {
    SCOPED_TRACE(i);
    const int number = ui::kScaledBuiltinImages[i].number;
    const ui::Image reduced = ui::ResizeSmooth(Decode(ui::kScaledBuiltinImages[i]), 16, 16);
    ASSERT_FALSE(reduced.empty());
    const double own = Difference(reduced, Decode(ui::kBuiltinImages[number]));
    EXPECT_LT(own, 16.0);
    for (int other = 0; other < 22; ++other) {
      if (SamePicture(ui::kBuiltinImages[other], ui::kBuiltinImages[number])) continue;
      EXPECT_LT(own, Difference(reduced, Decode(ui::kBuiltinImages[other]))) << "icon " << other;
    }
  }
}

TEST(BuiltinImages, ScaledHueStripsAreExactBmpsFromRedBackToRed) {
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(kScaledDpis[k]);
    const ui::ScaledImageData& data = ui::kScaledBuiltinImages[kScaledIconEntries + k];
    const int width = kScaledStripSizes[k][0], height = kScaledStripSizes[k][1];
    const std::size_t row_bytes = (width * 3 + 3) & ~3;
    ASSERT_EQ(data.size, 54 + row_bytes * height);
    EXPECT_EQ(data.bytes[0], 'B');
    EXPECT_EQ(data.bytes[1], 'M');
    EXPECT_EQ(U32(data.bytes + 2), data.size);
    EXPECT_EQ(U16(data.bytes + 28), 24u);

    const ui::Image strip = Decode(data);
    ASSERT_EQ(strip.width, width);
    ASSERT_EQ(strip.height, height);
    for (int y = 0; y < height; ++y) {
      const Pixel red = At(strip, 0, y), yellow = At(strip, width / 6, y);
      const Pixel green = At(strip, width / 3, y), blue = At(strip, 2 * width / 3, y);
      const Pixel last = At(strip, width - 1, y);
      EXPECT_TRUE(red.r == 255 && red.g == 0 && red.b == 0) << "y " << y;
      EXPECT_TRUE(yellow.r > 240 && yellow.g > 240 && yellow.b < 15) << "y " << y;
      EXPECT_TRUE(green.g > 240 && green.r < 15 && green.b < 15) << "y " << y;
      EXPECT_TRUE(blue.b > 240 && blue.r < 15 && blue.g < 15) << "y " << y;
      EXPECT_TRUE(last.r > 240 && last.g < 15 && last.b < 15) << "y " << y;
    }
  }
}
