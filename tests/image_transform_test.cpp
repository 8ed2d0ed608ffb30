#include <gtest/gtest.h>

#include <set>

#include "tests/test_images.h"
#include "ui/image.h"

using namespace test_images;

namespace {

ui::Image Row(std::initializer_list<Rgba> pixels) {
  ui::Image image = SolidImage(int(pixels.size()), 1, Rgba{});
  int x = 0;
  for (const Rgba& p : pixels) {
    std::uint8_t* out = image.bgra.data() + x++ * 4;
    out[0] = std::uint8_t(p.b);
    out[1] = std::uint8_t(p.g);
    out[2] = std::uint8_t(p.r);
    out[3] = std::uint8_t(p.a);
  }
  return image;
}

Rgba Grey(int v, int a = 255) { return Rgba{v, v, v, a}; }

std::vector<int> GreyRow(const ui::Image& image) {
  std::vector<int> values;
  for (int x = 0; x < image.width; ++x) values.push_back(PixelAt(image, x, 0).g);
  return values;
}

}  // namespace

// ---- ResizeSmooth ----

TEST(ResizeSmooth, GivesExactlyTheAskedSizeAndKeepsUniformColour) {
  const Rgba colour{10, 200, 30, 77};
  const ui::Image source = SolidImage(13, 7, colour);
  for (auto [w, h] : std::vector<std::pair<int, int>>{{5, 3}, {40, 19}, {1, 30}, {64, 1}, {13, 7}}) {
    const ui::Image result = ui::ResizeSmooth(source, w, h);
    ASSERT_EQ(result.width, w);
    ASSERT_EQ(result.height, h);
    ASSERT_EQ(result.bgra.size(), std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) ASSERT_EQ(PixelAt(result, x, y), colour) << w << "x" << h;
    }
  }
}

TEST(ResizeSmooth, ShrinkingAveragesTheCoveredArea) {
  EXPECT_EQ(GreyRow(ui::ResizeSmooth(Row({Grey(0), Grey(100), Grey(200), Grey(40)}), 2, 1)),
            (std::vector<int>{50, 120}));
  // 3 -> 2: each output covers one and a half source pixels.
  EXPECT_EQ(GreyRow(ui::ResizeSmooth(Row({Grey(0), Grey(90), Grey(180)}), 2, 1)),
            (std::vector<int>{30, 150}));

  ui::Image square = SolidImage(2, 2, Grey(0));
  square.bgra[4 + 1] = 255;   // (1,0) green channel
  square.bgra[8 + 1] = 100;   // (0,1)
  square.bgra[12 + 1] = 60;   // (1,1)
  EXPECT_EQ(PixelAt(ui::ResizeSmooth(square, 1, 1), 0, 0).g, 104);  // 103.75

  // Many source rows per output row: thirds of 30, 60 and 90.
  ui::Image column = SolidImage(1, 300, Grey(30));
  for (int y = 100; y < 300; ++y) column.bgra[y * 4 + 1] = std::uint8_t(y < 200 ? 60 : 90);
  const ui::Image thirds = ui::ResizeSmooth(column, 1, 3);
  EXPECT_EQ(PixelAt(thirds, 0, 0).g, 30);
  EXPECT_EQ(PixelAt(thirds, 0, 1).g, 60);
  EXPECT_EQ(PixelAt(thirds, 0, 2).g, 90);
  EXPECT_EQ(PixelAt(ui::ResizeSmooth(column, 1, 1), 0, 0).g, 60);
}

TEST(ResizeSmooth, EnlargingInterpolatesBetweenPixelCentres) {
  EXPECT_EQ(GreyRow(ui::ResizeSmooth(Row({Grey(0), Grey(255)}), 4, 1)),
            (std::vector<int>{0, 64, 191, 255}));
}

TEST(ResizeSmooth, TransparentPixelsLendNoColour) {
  const ui::Image red_and_clear = Row({Rgba{255, 0, 0, 255}, Rgba{0, 255, 0, 0}});
  EXPECT_EQ(PixelAt(ui::ResizeSmooth(red_and_clear, 1, 1), 0, 0), (Rgba{255, 0, 0, 128}));
  const ui::Image larger = ui::ResizeSmooth(red_and_clear, 4, 1);
  EXPECT_EQ(PixelAt(larger, 1, 0), (Rgba{255, 0, 0, 191}));
  EXPECT_EQ(PixelAt(larger, 3, 0).a, 0);
}

TEST(ResizeSmooth, RefusesUnusableInputWithAnEmptyImage) {
  const ui::Image source = SolidImage(4, 4, Grey(9));
  EXPECT_TRUE(ui::ResizeSmooth(source, 0, 4).empty());
  EXPECT_TRUE(ui::ResizeSmooth(source, 4, -1).empty());
  EXPECT_TRUE(ui::ResizeSmooth(source, ui::kMaxImageSide + 1, 1).empty());
  EXPECT_TRUE(ui::ResizeSmooth(source, ui::kMaxImageSide, ui::kMaxImageSide).empty());
  EXPECT_TRUE(ui::ResizeSmooth(ui::Image{}, 4, 4).empty());
  ui::Image inconsistent = source;
  inconsistent.bgra.resize(10);
  EXPECT_TRUE(ui::ResizeSmooth(inconsistent, 2, 2).empty());
}

// ---- ConvertToDepth ----

TEST(ConvertToDepth, TrueColourKeepsColoursAndDropsAlpha) {
  const ui::Image source = Row({Rgba{1, 2, 3, 0}, Rgba{254, 128, 7, 40}});
  for (int bits : {32, 24, 12, 0}) {
    const ui::Image result = ui::ConvertToDepth(source, bits);
    EXPECT_EQ(PixelAt(result, 0, 0), (Rgba{1, 2, 3, 255})) << bits;
    EXPECT_EQ(PixelAt(result, 1, 0), (Rgba{254, 128, 7, 255})) << bits;
  }
}

TEST(ConvertToDepth, HighColourRoundsAndWidensLikeTheDisplay) {
  const ui::Image source = Row({Grey(0), Grey(127), Grey(200), Grey(255)});
  const ui::Image sixteen = ui::ConvertToDepth(source, 16);
  EXPECT_EQ(PixelAt(sixteen, 1, 0), (Rgba{123, 125, 123}));
  EXPECT_EQ(PixelAt(sixteen, 2, 0), (Rgba{198, 199, 198}));
  EXPECT_EQ(PixelAt(sixteen, 0, 0), Grey(0));
  EXPECT_EQ(PixelAt(sixteen, 3, 0), Grey(255));
  EXPECT_EQ(PixelAt(ui::ConvertToDepth(source, 15), 2, 0), (Rgba{198, 198, 198}));
  EXPECT_EQ(PixelAt(ui::ConvertToDepth(source, 8), 1, 0), (Rgba{109, 109, 85}));  // 3-3-2
}

TEST(ConvertToDepth, ReducedLevelsAreStableAndCountRight) {
  ui::Image all_values = SolidImage(256, 1, Grey(0));
  for (int v = 0; v < 256; ++v) {
    for (int c = 0; c < 3; ++c) all_values.bgra[v * 4 + c] = std::uint8_t(v);
  }
  struct Case { int bits; std::size_t red, green, blue; };
  for (const Case& c : {Case{16, 32, 64, 32}, Case{15, 32, 32, 32}, Case{8, 8, 8, 4}}) {
    const ui::Image once = ui::ConvertToDepth(all_values, c.bits);
    EXPECT_EQ(ui::ConvertToDepth(once, c.bits).bgra, once.bgra) << c.bits;  // shown as is
    std::set<int> reds, greens, blues;
    for (int v = 0; v < 256; ++v) {
      const Rgba p = PixelAt(once, v, 0);
      reds.insert(p.r);
      greens.insert(p.g);
      blues.insert(p.b);
      EXPECT_LE(std::abs(p.g - v), 256 / int(c.green)) << c.bits << " " << v;
    }
    EXPECT_EQ(reds.size(), c.red) << c.bits;
    EXPECT_EQ(greens.size(), c.green) << c.bits;
    EXPECT_EQ(blues.size(), c.blue) << c.bits;
  }
}
