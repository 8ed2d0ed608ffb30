#pragma once
// Hue/saturation/lightness and red/green/blue in the editor's integer units, computed in single
// precision and truncated, so the same colour always shows the same numbers.

namespace settings_window {

struct Hsl {
  int hue = 0;         // 0-360
  int saturation = 0;  // 0-100
  int lightness = 0;   // 0-100
};

struct Rgb {
  int red = 0, green = 0, blue = 0;  // 0-255
};

Hsl RgbToHsl(int red, int green, int blue);
Rgb HslToRgb(int hue, int saturation, int lightness);
// One channel (0..1) of a colour between the levels m1 and m2 at hue position x (0..1, wrapped
// once from below 0 or above 1).
float HueToChannel(float m1, float m2, float x);

}  // namespace settings_window
