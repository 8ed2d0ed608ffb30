#pragma once
// Screens of any resolution. The program's windows are laid out in 96-DPI units; a window on a
// monitor of another DPI is drawn at s = DPI / 96, and every length and position of its layout
// is scaled by the one rule below. Lengths measured from the screen itself are never scaled.
#include "ui/controls.h"

namespace ui {

constexpr int kBaseDpi = 96;

// The rounding rule: value x dpi / 96, halves away from zero (9 at 120 DPI is 11.25 -> 11,
// 10 is 12.5 -> 13). At 96 DPI every value stays what it is.
int Scaled(int value, int dpi);

// A box scaled by its edges: left, top, right and bottom each by the rule, the size being what
// lies between. Boxes that touch at 96 DPI still touch, and a 16-pixel picture at any place
// stays 20, 24 or 32 pixels at 120, 144 or 192 DPI.
Box ScaledBox(Box box, int dpi);

// A length measured on the screen in 96-DPI units, rounded down: a screen 1080 pixels high at
// 144 DPI holds 720.
int Unscaled(int device_length, int dpi);

// The DPI the built-in pictures are drawn for that suits a window at `dpi` best: 96, 120, 144 or
// 192, whichever is nearest (the higher one when two are as near).
int PictureDpi(int dpi);

}  // namespace ui
