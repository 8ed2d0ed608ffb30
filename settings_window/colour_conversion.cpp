#include "settings_window/colour_conversion.h"

// The x87 unit of 32-bit x86 keeps intermediate results in extended precision; the editor's
// numbers are defined in single precision, so these functions compute with SSE there.
#if defined(__i386__)
#define KV_SINGLE_PRECISION __attribute__((target("sse2,fpmath=sse")))
#else
#define KV_SINGLE_PRECISION
#endif

namespace settings_window {

namespace {

KV_SINGLE_PRECISION float Smallest(float a, float b, float c) {
  const float ab = a < b ? a : b;
  return ab < c ? ab : c;
}

KV_SINGLE_PRECISION float Largest(float a, float b, float c) {
  const float ab = a > b ? a : b;
  return ab > c ? ab : c;
}

// How far a channel is from the largest, as a share of the spread (for the hue).
KV_SINGLE_PRECISION float Distance(float largest, float channel, float spread) {
  return ((largest - channel) / 6.0f + spread / 2.0f) / spread;
}

}  // namespace

KV_SINGLE_PRECISION Hsl RgbToHsl(int red, int green, int blue) {
  const float r = static_cast<float>(red) / 255.0f;
  const float g = static_cast<float>(green) / 255.0f;
  const float b = static_cast<float>(blue) / 255.0f;
  const float mn = Smallest(r, g, b);
  const float mx = Largest(r, g, b);
  const float spread = mx - mn;
  const float l = (mx + mn) / 2.0f;
  float h = 0.0f, s = 0.0f;
  if (spread != 0.0f) {
    s = l < 0.5f ? spread / (mx + mn) : spread / (2.0f - mx - mn);
    const float dr = Distance(mx, r, spread);
    const float dg = Distance(mx, g, spread);
    const float db = Distance(mx, b, spread);
    if (r == mx) {
      h = db - dg;
    } else if (g == mx) {
      h = 1.0f / 3.0f + dr - db;
    } else {
      h = 2.0f / 3.0f + dg - dr;
    }
    if (h < 0.0f) h += 1.0f;
    if (h > 1.0f) h -= 1.0f;
  }
  return {static_cast<int>(h * 360.0f), static_cast<int>(s * 100.0f), static_cast<int>(l * 100.0f)};
}

KV_SINGLE_PRECISION float HueToChannel(float m1, float m2, float x) {
  if (x < 0.0f) x += 1.0f;
  if (x > 1.0f) x -= 1.0f;
  if (6.0f * x < 1.0f) return m1 + (m2 - m1) * 6.0f * x;
  if (2.0f * x < 1.0f) return m2;
  if (3.0f * x < 2.0f) return m1 + (m2 - m1) * (2.0f / 3.0f - x) * 6.0f;
  return m1;
}

KV_SINGLE_PRECISION Rgb HslToRgb(int hue, int saturation, int lightness) {
  const float h = static_cast<float>(hue) / 360.0f;
  const float s = static_cast<float>(saturation) / 100.0f;
  const float l = static_cast<float>(lightness) / 100.0f;
  if (s == 0.0f) {
    const int grey = static_cast<int>(l * 255.0f);
    return {grey, grey, grey};
  }
  const float m2 = l < 0.5f ? l * (1.0f + s) : (l + s) - s * l;
  const float m1 = 2.0f * l - m2;
  return {static_cast<int>(255.0f * HueToChannel(m1, m2, h + 1.0f / 3.0f)),
          static_cast<int>(255.0f * HueToChannel(m1, m2, h)),
          static_cast<int>(255.0f * HueToChannel(m1, m2, h - 1.0f / 3.0f))};
}

}  // namespace settings_window
