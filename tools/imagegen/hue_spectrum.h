#pragma once
// The colour picker's hue strip: red, yellow, green, cyan, blue, magenta and back towards
// red from left to right, at full saturation and value, the same colour in every row.
#include "ui/image.h"

namespace imagegen {

constexpr int kSpectrumWidth = 210;
constexpr int kSpectrumHeight = 10;

ui::Image HueSpectrum(int width, int height);

}  // namespace imagegen
