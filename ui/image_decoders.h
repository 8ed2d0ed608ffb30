#pragma once
// Internal to the image loader: one decoder per file format, and the checks they share.
// Every decoder takes the whole file in memory and returns no image on any damage.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "ui/image.h"

namespace ui::detail {

std::optional<Image> DecodeBmp(const std::uint8_t* data, std::size_t size);
std::optional<Image> DecodePng(const std::uint8_t* data, std::size_t size);
std::optional<Image> DecodeJpeg(const std::uint8_t* data, std::size_t size);
std::optional<Image> DecodeIco(const std::uint8_t* data, std::size_t size);

// The bitmap of one icon entry: a BITMAPINFOHEADER whose height counts the colour rows
// and the 1-bit AND mask rows that follow them.
std::optional<Image> DecodeIconBitmap(const std::uint8_t* data, std::size_t size);

// True when width x height is within the limits of image.h (64-bit so that values read
// from a file can be checked before any narrowing).
bool ImageSizeAllowed(std::int64_t width, std::int64_t height);

// An opaque black image of that size, or nothing when the size is not allowed or the
// memory cannot be had.
std::optional<Image> AllocateImage(std::int64_t width, std::int64_t height);

// Little-endian reads; the caller has checked that the bytes are there.
inline std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace ui::detail
