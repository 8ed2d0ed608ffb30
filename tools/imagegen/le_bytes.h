#pragma once
// Appending little-endian fields, the byte order of every Windows file header.
#include <cstdint>
#include <vector>

namespace imagegen {

inline void PutU8(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

inline void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
  PutU8(out, value);
  PutU8(out, value >> 8);
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// BITMAPINFOHEADER without a colour table, uncompressed (BI_RGB).
inline void PutBitmapInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bits,
                                std::uint32_t image_bytes) {
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);  // planes
  PutU16(out, static_cast<unsigned>(bits));
  PutU32(out, 0);  // BI_RGB
  PutU32(out, image_bytes);
  PutU32(out, 0);  // horizontal resolution: unspecified
  PutU32(out, 0);  // vertical resolution: unspecified
  PutU32(out, 0);  // colours used
  PutU32(out, 0);  // important colours
}

}  // namespace imagegen
