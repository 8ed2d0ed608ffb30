// The colour editor's conversions: the numbers the user sees for known colours, and that no
// colour and no slider combination ever leaves the ranges.
#include "settings_window/colour_conversion.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using settings_window::HslToRgb;
using settings_window::RgbToHsl;

std::string Text(const settings_window::Hsl& c) {
  return std::to_string(c.hue) + " " + std::to_string(c.saturation) + " " + std::to_string(c.lightness);
}
std::string Text(const settings_window::Rgb& c) {
  return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
}

TEST(ColourConversion, KnownColours) {
  EXPECT_EQ(Text(RgbToHsl(20, 117, 229)), "212 83 48");  // the default title background
  EXPECT_EQ(Text(HslToRgb(212, 83, 48)), "20 115 223");
  EXPECT_EQ(Text(RgbToHsl(128, 128, 128)), "0 0 50");
  EXPECT_EQ(Text(HslToRgb(0, 0, 50)), "127 127 127");
  EXPECT_EQ(Text(RgbToHsl(255, 0, 0)), "0 100 50");
  EXPECT_EQ(Text(HslToRgb(120, 100, 50)), "0 255 0");
  EXPECT_EQ(Text(RgbToHsl(255, 255, 255)), "0 0 100");
  EXPECT_EQ(Text(RgbToHsl(0, 0, 0)), "0 0 0");
  EXPECT_EQ(Text(RgbToHsl(0, 0, 255)), "240 100 50");
  EXPECT_EQ(Text(RgbToHsl(255, 0, 255)), "300 100 50");
  EXPECT_EQ(Text(HslToRgb(360, 100, 50)), "255 0 0");
}

// All 16.7 million colours: the HSL numbers fit the sliders and the way back stays a colour,
// a few units off at most.
TEST(ColourConversion, EveryColourRoundTripsInsideTheRanges) {
  int worst = 0;
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        const settings_window::Hsl hsl = RgbToHsl(r, g, b);
        ASSERT_TRUE(hsl.hue >= 0 && hsl.hue <= 360 && hsl.saturation >= 0 && hsl.saturation <= 100 &&
                    hsl.lightness >= 0 && hsl.lightness <= 100)
            << r << " " << g << " " << b;
        const settings_window::Rgb back = HslToRgb(hsl.hue, hsl.saturation, hsl.lightness);
        ASSERT_TRUE(back.red >= 0 && back.red <= 255 && back.green >= 0 && back.green <= 255 && back.blue >= 0 &&
                    back.blue <= 255)
            << r << " " << g << " " << b;
        worst = std::max({worst, std::abs(back.red - r), std::abs(back.green - g), std::abs(back.blue - b)});
      }
    }
  }
  EXPECT_LE(worst, 10);
}

TEST(ColourConversion, EverySliderPositionGivesAColour) {
  for (int h = 0; h <= 360; ++h) {
    for (int s = 0; s <= 100; ++s) {
      for (int l = 0; l <= 100; ++l) {
        const settings_window::Rgb c = HslToRgb(h, s, l);
        ASSERT_TRUE(c.red >= 0 && c.red <= 255 && c.green >= 0 && c.green <= 255 && c.blue >= 0 && c.blue <= 255)
            << h << " " << s << " " << l;
      }
    }
  }
}

}  // namespace
