#include "ui/image.h"

namespace ui {
namespace {

// Bits kept per channel (blue, green, red); 8 means unchanged.
struct ChannelBits {
  int blue;
  int green;
  int red;
};

ChannelBits BitsForDepth(int bits) {
  if (bits == 16) return {5, 6, 5};
  if (bits == 15) return {5, 5, 5};
  if (bits >= 1 && bits <= 8) return {2, 3, 3};
  return {8, 8, 8};
}

// Rounds to the nearest of the 2^bits levels, then repeats the bits to fill 8 again, the
// way display hardware widens a short channel.
std::uint8_t Reduce(std::uint8_t value, int bits) {
  if (bits >= 8) return value;
  const unsigned levels = (1u << bits) - 1;
  const unsigned level = (value * levels + 127) / 255;
  unsigned widened = 0;
  for (int filled = 0; filled < 8; filled += bits) widened = (widened << bits) | level;
  return static_cast<std::uint8_t>(widened >> ((8 + bits - 1) / bits * bits - 8));
}

}  // namespace

Image ConvertToDepth(const Image& source, int bits) {
  Image result = source;
  const ChannelBits kept = BitsForDepth(bits);
  for (std::size_t i = 0; i + 3 < result.bgra.size(); i += 4) {
    result.bgra[i] = Reduce(result.bgra[i], kept.blue);
    result.bgra[i + 1] = Reduce(result.bgra[i + 1], kept.green);
    result.bgra[i + 2] = Reduce(result.bgra[i + 2], kept.red);
    result.bgra[i + 3] = 255;
  }
  return result;
}

}  // namespace ui
