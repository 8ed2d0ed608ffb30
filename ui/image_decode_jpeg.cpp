// JPEG through libjpeg: greyscale, colour and CMYK pictures become opaque BGRA. A damaged
// stream may still give a picture (libjpeg fills what is missing), as a viewer would.
//
// libjpeg reports errors through error_exit, which we make longjmp back. The functions
// that call setjmp hold no C++ object with a destructor; the image and the scanline
// buffer belong to their caller.
#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

#include <jpeglib.h>

#include "ui/image_decoders.h"

namespace ui::detail {
namespace {

// A progressive stream can hold thousands of tiny scans, each a full pass over the
// picture: a few kilobytes could keep us busy for minutes.
constexpr int kMaxScans = 500;
constexpr long kMaxLibraryMemory = 512L * 1024 * 1024;

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer is also ours
  std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

void LimitScans(j_common_ptr info) {
  const j_decompress_ptr decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) JumpBack(info);
}

// Owns libjpeg's decompressor for the length of one decode.
struct JpegReader {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  jpeg_progress_mgr progress{};
  bool created = false;

  ~JpegReader() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

bool Create(JpegReader& reader, const std::uint8_t* data, std::size_t size) {
  reader.info.err = jpeg_std_error(&reader.errors.manager);
  reader.errors.manager.error_exit = JumpBack;
  reader.errors.manager.emit_message = IgnoreMessage;
  if (setjmp(reader.errors.jump)) return false;
  jpeg_create_decompress(&reader.info);
  reader.created = true;
  reader.progress.progress_monitor = LimitScans;
  reader.info.progress = &reader.progress;
  reader.info.mem->max_memory_to_use = kMaxLibraryMemory;
  jpeg_mem_src(&reader.info, data, static_cast<unsigned long>(size));
  return true;
}

bool ReadHeader(JpegReader& reader) {
  jpeg_decompress_struct& info = reader.info;
  if (setjmp(reader.errors.jump)) return false;
  jpeg_read_header(&info, TRUE);
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE: info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: info.out_color_space = JCS_CMYK; break;
    default: info.out_color_space = JCS_RGB; break;
  }
  jpeg_calc_output_dimensions(&info);
  return true;
}

std::uint8_t Scale(unsigned a, unsigned b) { return static_cast<std::uint8_t>((a * b + 127) / 255); }

void StoreScanline(const jpeg_decompress_struct& info, const JSAMPLE* in, std::uint8_t* out) {
  // Adobe's CMYK files store the inks inverted (255 = no ink); that is the common case.
  const bool inverted = info.saw_Adobe_marker;
  for (JDIMENSION x = 0; x < info.output_width; ++x, out += 4) {
    if (info.out_color_space == JCS_GRAYSCALE) {
      out[0] = out[1] = out[2] = in[x];
    } else if (info.out_color_space == JCS_RGB) {
      out[0] = in[x * 3 + 2];
      out[1] = in[x * 3 + 1];
      out[2] = in[x * 3];
    } else {
      const JSAMPLE* ink = in + x * 4;
      const unsigned white = inverted ? ink[3] : 255u - ink[3];
      for (int c = 0; c < 3; ++c) out[2 - c] = Scale(inverted ? ink[c] : 255u - ink[c], white);
    }
    out[3] = 255;
  }
}

bool ReadPixels(JpegReader& reader, JSAMPLE* scanline, Image* image) {
  jpeg_decompress_struct& info = reader.info;
  if (setjmp(reader.errors.jump)) return false;
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    std::uint8_t* out = image->bgra.data() + std::size_t{info.output_scanline} * image->width * 4;
    JSAMPROW rows[1] = {scanline};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
    StoreScanline(info, scanline, out);
  }
  return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxImageFileBytes) return std::nullopt;  // keeps the length within unsigned long
  JpegReader reader;
  if (!Create(reader, data, size) || !ReadHeader(reader)) return std::nullopt;
  std::optional<Image> image = AllocateImage(reader.info.output_width, reader.info.output_height);
  if (!image) return std::nullopt;
  std::vector<JSAMPLE> scanline;
  try {
    scanline.resize(std::size_t{reader.info.output_width} * 4);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (!ReadPixels(reader, scanline.data(), &*image)) return std::nullopt;
  return image;
}

}  // namespace ui::detail
