// Uncompressed Windows bitmaps: the .bmp file and the bitmap inside an icon entry.
// Every offset and size read from the data is checked in 64-bit arithmetic before use.
#include <array>

#include "ui/image_decoders.h"

namespace ui::detail {
namespace {

constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitfields = 3;
constexpr std::uint32_t kCompressionAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;

// One colour channel of a 16- or 32-bit pixel, given by its bit mask.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;  // the mask shifted down; 0 for an absent channel
};

Channel MakeChannel(std::uint32_t mask) {
  Channel channel;
  if (mask == 0) return channel;
  channel.mask = mask;
  while (((mask >> channel.shift) & 1) == 0) ++channel.shift;
  channel.max = mask >> channel.shift;
  return channel;
}

std::uint8_t ChannelValue(const Channel& channel, std::uint32_t pixel) {
  if (channel.max == 0) return 0;
  const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  return static_cast<std::uint8_t>(value * 255 / channel.max);
}

// What the header says about the pixels, checked for consistency.
struct DibLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive; see top_down
  bool top_down = false;
  int bits = 0;
  std::array<Channel, 4> channels;  // red, green, blue, alpha (16 and 32 bits)
  const std::uint8_t* palette = nullptr;
  std::size_t palette_count = 0;
  std::size_t palette_entry_size = 4;
  std::size_t header_end = 0;  // after the header, the masks and the palette

  std::uint64_t Stride() const { return ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4; }
};

bool SupportedDepth(int bits, std::uint32_t compression) {
  if (compression == kCompressionRgb) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  }
  const bool bitfields =
      compression == kCompressionBitfields || compression == kCompressionAlphaBitfields;
  return bitfields && (bits == 16 || bits == 32);  // RLE, JPEG and PNG bitmaps are refused
}

bool KnownHeaderSize(std::uint32_t size) {
  return size == kCoreHeaderSize || size == 40 || size == 52 || size == 56 || size == 108 ||
         size == 124;
}

// Masks come from the header (sizes 52 and up) or, after a 40-byte header, from the
// three or four values that follow it. Returns the end of the masks, 0 when they are missing.
std::size_t ReadMasks(const std::uint8_t* dib, std::size_t size, std::size_t header_size,
                      std::uint32_t compression, DibLayout& layout) {
  if (compression == kCompressionRgb) {
    const bool is16 = layout.bits == 16;
    layout.channels = {MakeChannel(is16 ? 0x7C00 : 0xFF0000), MakeChannel(is16 ? 0x03E0 : 0xFF00),
                       MakeChannel(is16 ? 0x001F : 0xFF), MakeChannel(is16 ? 0 : 0xFF000000)};
    return header_size;
  }
  const bool in_header = header_size >= 52;
  const std::size_t position = in_header ? 40 : header_size;
  const bool with_alpha = in_header ? header_size >= 56 : compression == kCompressionAlphaBitfields;
  const std::size_t count = with_alpha ? 4 : 3;
  if (position + count * 4 > size) return 0;
  for (std::size_t i = 0; i < count; ++i) {
    layout.channels[i] = MakeChannel(ReadU32(dib + position + i * 4));
  }
  return in_header ? header_size : position + count * 4;
}

bool ReadPalette(const std::uint8_t* dib, std::size_t size, std::uint32_t colours_used,
                 DibLayout& layout) {
  if (layout.bits > 8) return true;
  const std::size_t full = std::size_t{1} << layout.bits;
  layout.palette_count = (colours_used == 0 || colours_used > full) ? full : colours_used;
  const std::uint64_t end = static_cast<std::uint64_t>(layout.header_end) +
                            layout.palette_count * layout.palette_entry_size;
  if (end > size) return false;
  layout.palette = dib + layout.header_end;
  layout.header_end = static_cast<std::size_t>(end);
  return true;
}

std::optional<DibLayout> ReadDibLayout(const std::uint8_t* dib, std::size_t size) {
  if (size < 4) return std::nullopt;
  const std::uint32_t header_size = ReadU32(dib);
  if (!KnownHeaderSize(header_size) || header_size > size) return std::nullopt;
  DibLayout layout;
  std::uint32_t compression = kCompressionRgb;
  std::uint32_t colours_used = 0;
  if (header_size == kCoreHeaderSize) {
    layout.width = ReadU16(dib + 4);
    layout.height = ReadU16(dib + 6);
    layout.bits = ReadU16(dib + 10);
    layout.palette_entry_size = 3;
  } else {
    layout.width = static_cast<std::int32_t>(ReadU32(dib + 4));
    const std::int64_t height = static_cast<std::int32_t>(ReadU32(dib + 8));
    layout.top_down = height < 0;
    layout.height = height < 0 ? -height : height;
    layout.bits = ReadU16(dib + 14);
    compression = ReadU32(dib + 16);
    colours_used = ReadU32(dib + 32);
  }
  if (!SupportedDepth(layout.bits, compression)) return std::nullopt;
  layout.header_end = ReadMasks(dib, size, header_size, compression, layout);
  if (layout.header_end == 0 || !ReadPalette(dib, size, colours_used, layout)) return std::nullopt;
  return layout;
}

void SetPixel(Image& image, std::size_t offset, std::uint8_t r, std::uint8_t g, std::uint8_t b,
              std::uint8_t a) {
  image.bgra[offset] = b;
  image.bgra[offset + 1] = g;
  image.bgra[offset + 2] = r;
  image.bgra[offset + 3] = a;
}

void DecodeIndexedRow(const DibLayout& layout, const std::uint8_t* row, Image& image,
                      std::size_t out) {
  const unsigned bits = static_cast<unsigned>(layout.bits);
  const unsigned index_mask = (1u << bits) - 1;
  for (std::int64_t x = 0; x < layout.width; ++x, out += 4) {
    const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
    const unsigned shift = 8 - bits - static_cast<unsigned>(bit & 7);
    const std::size_t index = (row[bit >> 3] >> shift) & index_mask;
    if (index >= layout.palette_count) continue;  // stays black, as the image was created
    const std::uint8_t* entry = layout.palette + index * layout.palette_entry_size;
    SetPixel(image, out, entry[2], entry[1], entry[0], 255);
  }
}

// Returns true when some pixel had a non-zero alpha value.
bool DecodeMaskedRow(const DibLayout& layout, const std::uint8_t* row, Image& image,
                     std::size_t out) {
  bool any_alpha = false;
  const std::size_t bytes = static_cast<std::size_t>(layout.bits / 8);
  for (std::int64_t x = 0; x < layout.width; ++x, row += bytes, out += 4) {
    const std::uint32_t pixel = bytes == 2 ? ReadU16(row) : ReadU32(row);
    const std::uint8_t alpha = ChannelValue(layout.channels[3], pixel);
    any_alpha = any_alpha || alpha != 0;
    SetPixel(image, out, ChannelValue(layout.channels[0], pixel),
             ChannelValue(layout.channels[1], pixel), ChannelValue(layout.channels[2], pixel),
             alpha);
  }
  return any_alpha;
}

void DecodeRgbRow(const DibLayout& layout, const std::uint8_t* row, Image& image, std::size_t out) {
  for (std::int64_t x = 0; x < layout.width; ++x, row += 3, out += 4) {
    SetPixel(image, out, row[2], row[1], row[0], 255);
  }
}

void MakeOpaque(Image& image) {
  for (std::size_t i = 3; i < image.bgra.size(); i += 4) image.bgra[i] = 255;
}

struct DecodedPixels {
  Image image;
  bool has_alpha = false;  // the alpha channel carried values (else the image is opaque)
};

// Decodes `layout.height` rows of pixels stored at `pixels`, bottom-up unless top_down.
std::optional<DecodedPixels> DecodeRows(const DibLayout& layout, const std::uint8_t* pixels,
                                        std::size_t available) {
  const std::uint64_t stride = layout.Stride();
  if (!ImageSizeAllowed(layout.width, layout.height) ||
      stride * static_cast<std::uint64_t>(layout.height) > available) {
    return std::nullopt;
  }
  std::optional<Image> image = AllocateImage(layout.width, layout.height);
  if (!image) return std::nullopt;
  DecodedPixels result{std::move(*image), false};
  const bool masked = layout.bits == 16 || layout.bits == 32;
  for (std::int64_t y = 0; y < layout.height; ++y) {
    const std::uint8_t* row = pixels + static_cast<std::size_t>(stride) * static_cast<std::size_t>(y);
    const std::int64_t out_row = layout.top_down ? y : layout.height - 1 - y;
    const std::size_t out = static_cast<std::size_t>(out_row * layout.width * 4);
    if (layout.bits <= 8) {
      DecodeIndexedRow(layout, row, result.image, out);
    } else if (masked) {
      result.has_alpha = DecodeMaskedRow(layout, row, result.image, out) || result.has_alpha;
    } else {
      DecodeRgbRow(layout, row, result.image, out);
    }
  }
  // Most tools write 32-bit bitmaps with the fourth byte left at zero: that means opaque.
  if (masked && !result.has_alpha) MakeOpaque(result.image);
  return result;
}

// Pixels whose AND-mask bit is set are transparent.
void ApplyAndMask(const std::uint8_t* mask, std::size_t stride, bool top_down, Image& image) {
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = mask + stride * static_cast<std::size_t>(y);
    const int out_row = top_down ? y : image.height - 1 - y;
    std::uint8_t* out = image.bgra.data() + static_cast<std::size_t>(out_row) * image.width * 4;
    for (int x = 0; x < image.width; ++x, out += 4) {
      if ((row[x >> 3] >> (7 - (x & 7))) & 1) out[0] = out[1] = out[2] = out[3] = 0;
    }
  }
}

}  // namespace

std::optional<Image> DecodeBmp(const std::uint8_t* data, std::size_t size) {
  if (size < kFileHeaderSize + 4) return std::nullopt;
  const std::uint32_t pixel_offset = ReadU32(data + 10);
  const std::optional<DibLayout> layout =
      ReadDibLayout(data + kFileHeaderSize, size - kFileHeaderSize);
  if (!layout || pixel_offset < kFileHeaderSize + ReadU32(data + kFileHeaderSize) ||
      pixel_offset > size) {
    return std::nullopt;
  }
  std::optional<DecodedPixels> pixels = DecodeRows(*layout, data + pixel_offset, size - pixel_offset);
  if (!pixels) return std::nullopt;
  return std::move(pixels->image);
}

std::optional<Image> DecodeIconBitmap(const std::uint8_t* data, std::size_t size) {
  std::optional<DibLayout> layout = ReadDibLayout(data, size);
  if (!layout) return std::nullopt;
  layout->height /= 2;  // the header counts the colour rows and the mask rows
  std::optional<DecodedPixels> pixels =
      DecodeRows(*layout, data + layout->header_end, size - layout->header_end);
  if (!pixels) return std::nullopt;
  if (pixels->has_alpha) return std::move(pixels->image);  // 32-bit icons: alpha rules
  const std::uint64_t colour_bytes = layout->Stride() * static_cast<std::uint64_t>(layout->height);
  const std::size_t mask_stride = static_cast<std::size_t>((layout->width + 31) / 32) * 4;
  const std::uint64_t mask_end = layout->header_end + colour_bytes +
                                 static_cast<std::uint64_t>(mask_stride) * layout->height;
  if (mask_end > size) return std::nullopt;
  ApplyAndMask(data + layout->header_end + colour_bytes, mask_stride, layout->top_down,
               pixels->image);
  return std::move(pixels->image);
}

}  // namespace ui::detail
