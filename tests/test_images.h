#pragma once
// Writes real image files for the image tests: PNG and JPEG through the libraries' own
// encoders, BMP and ICO byte by byte.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "ui/image.h"

namespace test_images {

using Bytes = std::vector<std::uint8_t>;

struct Rgba {
  int r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
inline std::ostream& operator<<(std::ostream& out, const Rgba& p) {
  return out << "rgba(" << p.r << "," << p.g << "," << p.b << "," << p.a << ")";
}
Rgba PixelAt(const ui::Image& image, int x, int y);
// An image of one colour, or filled pixel by pixel from a function of (x, y).
ui::Image SolidImage(int width, int height, Rgba colour);

struct PngPicture {
  int width = 0;
  int height = 0;
  int colour_type = 0;  // PNG_COLOR_TYPE_*
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<Bytes> rows;           // as stored: packed samples, 16-bit ones big-endian
  std::vector<Rgba> palette;         // colour type 3; alpha < 255 becomes a tRNS chunk
  std::vector<std::uint16_t> transparent;  // tRNS for grey (1 value) or RGB (3 values)
};
Bytes EncodePng(const PngPicture& picture);

// samples: rows of `components` bytes per pixel (1 grey, 3 RGB, 4 CMYK as stored).
Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples,
                 bool progressive = false);
// A progressive grey JPEG of 1 + 63 * (refinements + 1) scans.
Bytes EncodeGreyJpegWithManyScans(int width, int height, const Bytes& grey, int refinements);

struct DibPicture {
  std::uint32_t header_size = 40;  // 12, 40, 52, 56, 108 or 124
  std::int32_t width = 0;
  std::int32_t height = 0;  // as stored: negative for top-down, doubled in icons
  int bits = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks;    // R, G, B (, A): in the header from 52 bytes on
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::uint32_t colours_used = 0;
  std::vector<Bytes> rows;       // stored order, without padding
  std::vector<Bytes> mask_rows;  // icons: AND mask rows, stored order, without padding
};
Bytes EncodeDib(const DibPicture& picture);  // header, masks, palette, rows, mask rows
Bytes EncodeBmp(const DibPicture& picture);  // the 14-byte file header + EncodeDib

struct IconPicture {
  int width = 0;  // as listed in the directory (256 is written as 0)
  int height = 0;
  int bits = 0;
  Bytes data;  // EncodeDib output or a PNG file
};
Bytes EncodeIco(const std::vector<IconPicture>& pictures);

void PutU16(Bytes& out, std::uint32_t value);
void PutU32(Bytes& out, std::uint32_t value);
void SetU32(Bytes& out, std::size_t offset, std::uint32_t value);

// A fresh empty folder for one test, and file helpers.
std::string FreshFolder(const std::string& name);
void WriteBytes(const std::string& path, const Bytes& bytes);

}  // namespace test_images
