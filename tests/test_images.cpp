#include "tests/test_images.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <jpeglib.h>
#include <unistd.h>

namespace test_images {

Rgba PixelAt(const ui::Image& image, int x, int y) {
  const std::uint8_t* p = image.bgra.data() + (std::size_t(y) * image.width + x) * 4;
  return Rgba{p[2], p[1], p[0], p[3]};
}

ui::Image SolidImage(int width, int height, Rgba colour) {
  ui::Image image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) {
    image.bgra.insert(image.bgra.end(), {std::uint8_t(colour.b), std::uint8_t(colour.g),
                                         std::uint8_t(colour.r), std::uint8_t(colour.a)});
  }
  return image;
}

void PutU16(Bytes& out, std::uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void PutU32(Bytes& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void SetU32(Bytes& out, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.at(offset + i) = (value >> (8 * i)) & 0xFF;
}

// ---- PNG ----

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void WritePalette(png_structp png, png_infop info, const std::vector<Rgba>& palette) {
  std::vector<png_color> colours;
  std::vector<png_byte> alphas;
  for (const Rgba& c : palette) {
    colours.push_back(png_color{png_byte(c.r), png_byte(c.g), png_byte(c.b)});
    alphas.push_back(png_byte(c.a));
  }
  png_set_PLTE(png, info, colours.data(), int(colours.size()));
  png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
}

}  // namespace

Bytes EncodePng(const PngPicture& picture) {
  Bytes out;
  // No setjmp: a writer error here is a mistake in the test, and libpng then aborts.
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendToBytes, nullptr);
  png_set_IHDR(png, info, picture.width, picture.height, picture.bit_depth, picture.colour_type,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) WritePalette(png, info, picture.palette);
  if (!picture.transparent.empty()) {
    png_color_16 colour{};
    colour.gray = picture.transparent[0];
    if (picture.transparent.size() == 3) {
      colour.red = picture.transparent[0];
      colour.green = picture.transparent[1];
      colour.blue = picture.transparent[2];
    }
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  std::vector<png_bytep> rows;
  for (const Bytes& row : picture.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// ---- JPEG ----

Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // the default exits on error: fine in a test
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                   std::size_t(info.next_scanline) * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

Bytes EncodeGreyJpegWithManyScans(int width, int height, const Bytes& grey, int refinements) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 1;
  info.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  // DC first, then each AC coefficient alone, sent in `refinements` + 1 passes of
  // successive approximation.
  std::vector<jpeg_scan_info> scans;
  scans.push_back(jpeg_scan_info{1, {0}, 0, 0, 0, 0});
  for (int k = 1; k < 64; ++k) {
    scans.push_back(jpeg_scan_info{1, {0}, k, k, 0, refinements});
    for (int bit = refinements; bit > 0; --bit) {
      scans.push_back(jpeg_scan_info{1, {0}, k, k, bit, bit - 1});
    }
  }
  info.scan_info = scans.data();
  info.num_scans = int(scans.size());
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(grey.data()) + std::size_t(info.next_scanline) * width;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// ---- BMP and ICO ----

namespace {

void PutPaddedRows(Bytes& out, const std::vector<Bytes>& rows) {
  for (const Bytes& row : rows) {
    out.insert(out.end(), row.begin(), row.end());
    for (std::size_t n = row.size(); n % 4 != 0; ++n) out.push_back(0);
  }
}

void PutInfoHeader(Bytes& out, const DibPicture& p) {
  PutU32(out, p.header_size);
  PutU32(out, std::uint32_t(p.width));
  PutU32(out, std::uint32_t(p.height));
  PutU16(out, 1);
  PutU16(out, p.bits);
  PutU32(out, p.compression);
  PutU32(out, 0);  // image size: 0 is allowed for uncompressed pixels
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, p.colours_used);
  PutU32(out, 0);
}

}  // namespace

Bytes EncodeDib(const DibPicture& p) {
  Bytes out;
  if (p.header_size == 12) {
    PutU32(out, 12);
    PutU16(out, std::uint32_t(p.width));
    PutU16(out, std::uint32_t(p.height));
    PutU16(out, 1);
    PutU16(out, p.bits);
  } else {
    PutInfoHeader(out, p);
    for (std::uint32_t mask : p.masks) PutU32(out, mask);
    out.resize(std::max<std::size_t>(out.size(), p.header_size), 0);
  }
  for (std::uint32_t colour : p.palette) {
    PutU16(out, colour & 0xFFFF);
    out.push_back((colour >> 16) & 0xFF);
    if (p.header_size != 12) out.push_back(0);
  }
  PutPaddedRows(out, p.rows);
  PutPaddedRows(out, p.mask_rows);
  return out;
}

Bytes EncodeBmp(const DibPicture& picture) {
  const Bytes dib = EncodeDib(picture);
  const std::size_t header_and_tables =
      picture.header_size == 12
          ? 12 + picture.palette.size() * 3
          : std::max<std::size_t>(picture.header_size, 40 + picture.masks.size() * 4) +
                picture.palette.size() * 4;
  Bytes out{'B', 'M'};
  PutU32(out, std::uint32_t(14 + dib.size()));
  PutU32(out, 0);
  PutU32(out, std::uint32_t(14 + header_and_tables));
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

Bytes EncodeIco(const std::vector<IconPicture>& pictures) {
  Bytes out;
  PutU16(out, 0);
  PutU16(out, 1);
  PutU16(out, std::uint32_t(pictures.size()));
  std::size_t offset = 6 + 16 * pictures.size();
  for (const IconPicture& p : pictures) {
    out.push_back(p.width & 0xFF);
    out.push_back(p.height & 0xFF);
    out.push_back(0);
    out.push_back(0);
    PutU16(out, 1);
    PutU16(out, p.bits);
    PutU32(out, std::uint32_t(p.data.size()));
    PutU32(out, std::uint32_t(offset));
    offset += p.data.size();
  }
  for (const IconPicture& p : pictures) out.insert(out.end(), p.data.begin(), p.data.end());
  return out;
}

// ---- files ----

std::string FreshFolder(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("kv_test_" + std::to_string(::getpid()) + "_" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace test_images
