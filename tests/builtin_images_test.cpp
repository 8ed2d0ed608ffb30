// Checks the generated built-in images: exact file layouts, and pictures that decode to what
// the program expects to draw.
#include "ui/builtin_images.h"

#include <gtest/gtest.h>

#include <cstdint>
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
