#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <random>

#include "tests/test_images.h"
#include "ui/image.h"

using namespace test_images;

namespace {

std::optional<ui::Image> Decode(const Bytes& bytes) { return ui::DecodeImage(bytes.data(), bytes.size()); }

bool Consistent(const ui::Image& image) {
  return image.width > 0 && image.height > 0 &&
         image.bgra.size() == std::size_t(image.width) * image.height * 4;
}

Bytes Row(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }

const Rgba kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0}, kOdd{10, 20, 30};

// 3 x 2 pixels: red green blue over white black odd; 9-byte rows need padding.
DibPicture Bmp24(bool top_down) {
  DibPicture p;
  p.width = 3;
  p.height = top_down ? -2 : 2;
  const Bytes top = Row({0, 0, 255, 0, 255, 0, 255, 0, 0});
  const Bytes bottom = Row({255, 255, 255, 0, 0, 0, 30, 20, 10});
  p.rows = top_down ? std::vector<Bytes>{top, bottom} : std::vector<Bytes>{bottom, top};
  return p;
}

void ExpectBmp24Pixels(const std::optional<ui::Image>& image) {
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, 3);
  ASSERT_EQ(image->height, 2);
  EXPECT_EQ(PixelAt(*image, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*image, 1, 0), kGreen);
  EXPECT_EQ(PixelAt(*image, 2, 0), kBlue);
  EXPECT_EQ(PixelAt(*image, 0, 1), kWhite);
  EXPECT_EQ(PixelAt(*image, 1, 1), kBlack);
  EXPECT_EQ(PixelAt(*image, 2, 1), kOdd);
}

DibPicture Bmp8WithPalette() {
  DibPicture p;
  p.width = 5;
  p.height = 2;
  p.bits = 8;
  p.palette = {0xFF0000, 0x00FF00, 0x0A141E};
  p.colours_used = 3;
  p.rows = {Row({2, 1, 0, 9, 2}), Row({0, 1, 2, 0, 1})};  // 9 is outside the palette
  return p;
}

Bytes PngRgba2x2() {
  PngPicture p;
  p.width = 2;
  p.height = 2;
  p.colour_type = 6;  // RGBA
  p.rows = {Row({255, 0, 0, 255, 0, 255, 0, 128}), Row({0, 0, 255, 0, 10, 20, 30, 7})};
  return EncodePng(p);
}

Bytes Interlaced9x9Png() {
  PngPicture p;
  p.width = 9;
  p.height = 9;
  p.colour_type = 2;  // RGB
  p.interlaced = true;
  for (int y = 0; y < 9; ++y) {
    Bytes row;
    for (int x = 0; x < 9; ++x) {
      row.insert(row.end(), {std::uint8_t(x * 20), std::uint8_t(y * 20), std::uint8_t(x + y)});
    }
    p.rows.push_back(row);
  }
  return EncodePng(p);
}

// Flat quadrants compress without ringing at quality 95.
Bytes QuadrantRgb(int size) {
  Bytes samples;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Rgba c = y < size / 2 ? (x < size / 2 ? kRed : kGreen) : (x < size / 2 ? kBlue : kOdd);
      samples.insert(samples.end(), {std::uint8_t(c.r), std::uint8_t(c.g), std::uint8_t(c.b)});
    }
  }
  return samples;
}

void ExpectNear(const Rgba& actual, const Rgba& expected, int tolerance) {
  EXPECT_NEAR(actual.r, expected.r, tolerance) << actual;
  EXPECT_NEAR(actual.g, expected.g, tolerance) << actual;
  EXPECT_NEAR(actual.b, expected.b, tolerance) << actual;
  EXPECT_EQ(actual.a, 255);
}

void ExpectQuadrants(const std::optional<ui::Image>& image, int size) {
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, size);
  ASSERT_EQ(image->height, size);
  const int a = size / 4, b = size * 3 / 4;
  ExpectNear(PixelAt(*image, a, a), kRed, 8);
  ExpectNear(PixelAt(*image, b, a), kGreen, 8);
  ExpectNear(PixelAt(*image, a, b), kBlue, 8);
  ExpectNear(PixelAt(*image, b, b), kOdd, 8);
}

// A 32-bit icon bitmap: BGRA rows bottom-up plus an AND mask (one byte per 8 pixels).
Bytes IconBitmap32(int size, Rgba colour, const Bytes& mask_row = {}) {
  DibPicture p;
  p.width = size;
  p.height = size * 2;
  p.bits = 32;
  for (int y = 0; y < size; ++y) {
    Bytes row;
    for (int x = 0; x < size; ++x) {
      row.insert(row.end(), {std::uint8_t(colour.b), std::uint8_t(colour.g), std::uint8_t(colour.r),
                             std::uint8_t(colour.a)});
    }
    p.rows.push_back(row);
    p.mask_rows.push_back(mask_row.empty() ? Bytes(std::size_t(size + 7) / 8, 0) : mask_row);
  }
  return EncodeDib(p);
}

// A 16 x 16 4-bit icon: left half palette colour 1 (red), right half colour 2 (blue); the
// AND mask makes the first 4 columns transparent.
Bytes IconBitmap4() {
  DibPicture p;
  p.width = 16;
  p.height = 32;
  p.bits = 4;
  p.palette.assign(16, 0);
  p.palette[1] = 0xFF0000;
  p.palette[2] = 0x0000FF;
  for (int y = 0; y < 16; ++y) {
    p.rows.push_back(Bytes{0x11, 0x11, 0x11, 0x11, 0x22, 0x22, 0x22, 0x22});
    p.mask_rows.push_back(Bytes{0xF0, 0x00});
  }
  return EncodeDib(p);
}

Bytes SampleIco() {
  return EncodeIco({{32, 32, 32, IconBitmap32(32, kGreen)}, {16, 16, 4, IconBitmap4()}});
}

// Replaces a PNG chunk's CRC after the test edited its data.
void FixChunkCrc(Bytes& png, std::size_t chunk_start) {
  const std::uint32_t length = (png[chunk_start] << 24) | (png[chunk_start + 1] << 16) |
                               (png[chunk_start + 2] << 8) | png[chunk_start + 3];
  const uLong crc = crc32(0, png.data() + chunk_start + 4, length + 4);
  for (int i = 0; i < 4; ++i) png[chunk_start + 8 + length + i] = (crc >> (24 - 8 * i)) & 0xFF;
}

}  // namespace

// ---- BMP ----

TEST(DecodeBmp, BottomUpAndTopDownGiveTheSamePicture) {
  ExpectBmp24Pixels(Decode(EncodeBmp(Bmp24(false))));
  ExpectBmp24Pixels(Decode(EncodeBmp(Bmp24(true))));
}

TEST(DecodeBmp, PaletteDepths) {
  const std::optional<ui::Image> eight = Decode(EncodeBmp(Bmp8WithPalette()));
  ASSERT_TRUE(eight);
  EXPECT_EQ(PixelAt(*eight, 0, 0), kRed);    // top row is the last stored
  EXPECT_EQ(PixelAt(*eight, 1, 0), kGreen);
  EXPECT_EQ(PixelAt(*eight, 0, 1), kOdd);
  EXPECT_EQ(PixelAt(*eight, 3, 1), kBlack);  // index beyond the palette

  DibPicture four;
  four.width = 3;
  four.height = 1;
  four.bits = 4;
  four.palette = {0x000000, 0xFFFFFF, 0x0A141E};
  four.colours_used = 3;
  four.rows = {Row({0x21, 0x00})};
  const std::optional<ui::Image> image4 = Decode(EncodeBmp(four));
  ASSERT_TRUE(image4);
  EXPECT_EQ(PixelAt(*image4, 0, 0), kOdd);
  EXPECT_EQ(PixelAt(*image4, 1, 0), kWhite);
  EXPECT_EQ(PixelAt(*image4, 2, 0), kBlack);

  DibPicture one;  // old 12-byte header: 3-byte palette entries
  one.header_size = 12;
  one.width = 10;
  one.height = 1;
  one.bits = 1;
  one.palette = {0x000000, 0x0A141E};
  one.rows = {Row({0x80, 0x40})};  // pixels 0 and 9 set
  const std::optional<ui::Image> image1 = Decode(EncodeBmp(one));
  ASSERT_TRUE(image1);
  EXPECT_EQ(PixelAt(*image1, 0, 0), kOdd);
  EXPECT_EQ(PixelAt(*image1, 1, 0), kBlack);
  EXPECT_EQ(PixelAt(*image1, 8, 0), kBlack);
  EXPECT_EQ(PixelAt(*image1, 9, 0), kOdd);
}

TEST(DecodeBmp, SixteenBitDefaultAndBitfields) {
  DibPicture rgb555;
  rgb555.width = 3;
  rgb555.height = 1;
  rgb555.bits = 16;
  rgb555.rows = {Row({0x00, 0x7C, 0xE0, 0x03, 0x10, 0x00})};
  const std::optional<ui::Image> a = Decode(EncodeBmp(rgb555));
  ASSERT_TRUE(a);
  EXPECT_EQ(PixelAt(*a, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*a, 1, 0), kGreen);
  EXPECT_EQ(PixelAt(*a, 2, 0), (Rgba{0, 0, 16 * 255 / 31}));

  DibPicture rgb565 = rgb555;
  rgb565.compression = 3;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.rows = {Row({0x00, 0xF8, 0x20, 0x00, 0x1F, 0x00})};
  const std::optional<ui::Image> b = Decode(EncodeBmp(rgb565));
  ASSERT_TRUE(b);
  EXPECT_EQ(PixelAt(*b, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*b, 1, 0), (Rgba{0, 255 / 63, 0}));
  EXPECT_EQ(PixelAt(*b, 2, 0), kBlue);
}

TEST(DecodeBmp, ThirtyTwoBitAlphaOnlyWhenUsed) {
  DibPicture p;
  p.width = 2;
  p.height = 1;
  p.bits = 32;
  p.rows = {Row({30, 20, 10, 0, 0, 0, 255, 0})};
  const std::optional<ui::Image> zero_alpha = Decode(EncodeBmp(p));
  ASSERT_TRUE(zero_alpha);
  EXPECT_EQ(PixelAt(*zero_alpha, 0, 0), kOdd);
  EXPECT_EQ(PixelAt(*zero_alpha, 1, 0), kRed);

  p.rows = {Row({30, 20, 10, 128, 0, 0, 255, 0})};
  const std::optional<ui::Image> with_alpha = Decode(EncodeBmp(p));
  ASSERT_TRUE(with_alpha);
  EXPECT_EQ(PixelAt(*with_alpha, 0, 0), (Rgba{10, 20, 30, 128}));
  EXPECT_EQ(PixelAt(*with_alpha, 1, 0), (Rgba{255, 0, 0, 0}));
}

TEST(DecodeBmp, V5HeaderMasksAreHonoured) {
  DibPicture p;
  p.header_size = 124;
  p.width = 1;
  p.height = -1;
  p.bits = 32;
  p.compression = 3;
  p.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};  // R, G, B, A
  p.rows = {Row({200, 10, 20, 30})};
  const std::optional<ui::Image> image = Decode(EncodeBmp(p));
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(*image, 0, 0), (Rgba{10, 20, 30, 200}));
}

TEST(DecodeBmp, RefusesWhatItCannotOrMustNotRead) {
  DibPicture rle = Bmp8WithPalette();
  rle.compression = 1;
  EXPECT_FALSE(Decode(EncodeBmp(rle)));

  const Bytes good = EncodeBmp(Bmp24(false));
  auto with = [&](std::size_t offset, std::uint32_t value) {
    Bytes bytes = good;
    SetU32(bytes, offset, value);
    return Decode(bytes);
  };
  EXPECT_FALSE(with(14 + 4, 0x7FFFFFFF));   // width
  EXPECT_FALSE(with(14 + 4, 0));
  EXPECT_FALSE(with(14 + 4, 0xFFFFFFFD));   // negative width
  EXPECT_FALSE(with(14 + 8, 0x80000000));   // height INT32_MIN
  EXPECT_FALSE(with(14 + 8, 3));            // more rows than the file holds
  EXPECT_FALSE(with(10, 0xFFFFFFF0));       // pixels beyond the end
  EXPECT_FALSE(with(10, 20));               // pixels inside the header
  EXPECT_FALSE(with(14, 64));               // unknown header size
  EXPECT_FALSE(with(14, 0xFFFFFFFF));

  // 65536 x 65536 x 4 bytes is 2^34: zero in 32-bit arithmetic.
  Bytes overflow = good;
  SetU32(overflow, 14 + 4, 65536);
  SetU32(overflow, 14 + 8, 65536);
  overflow[14 + 14] = 32;
  EXPECT_FALSE(Decode(overflow));

  // Within the side limit but over the pixel limit, with data claimed to be there.
  Bytes too_many = good;
  SetU32(too_many, 14 + 4, 16384);
  SetU32(too_many, 14 + 8, 16384);
  EXPECT_FALSE(Decode(too_many));
}

TEST(DecodeBmp, HugePaletteCountIsClampedNotTrusted) {
  DibPicture p = Bmp8WithPalette();
  p.colours_used = 0xFFFFFFFF;  // the 256-entry palette must then be there: it is not
  EXPECT_FALSE(Decode(EncodeBmp(p)));
  p.palette.resize(256, 0x0000FF);
  const std::optional<ui::Image> image = Decode(EncodeBmp(p));
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(*image, 3, 1), kBlue);  // index 9 now exists
}

// ---- PNG ----

TEST(DecodePng, RgbaKeepsStraightAlpha) {
  const std::optional<ui::Image> image = Decode(PngRgba2x2());
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(*image, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*image, 1, 0), (Rgba{0, 255, 0, 128}));
  EXPECT_EQ(PixelAt(*image, 0, 1), (Rgba{0, 0, 255, 0}));
  EXPECT_EQ(PixelAt(*image, 1, 1), (Rgba{10, 20, 30, 7}));
}

TEST(DecodePng, SixteenBitGreyIsScaledWithoutGamma) {
  PngPicture p;
  p.width = 3;
  p.height = 1;
  p.colour_type = 0;
  p.bit_depth = 16;
  p.rows = {Row({0x00, 0x00, 0x80, 0x80, 0xFF, 0xFF})};
  const std::optional<ui::Image> image = Decode(EncodePng(p));
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(*image, 0, 0), kBlack);
  EXPECT_EQ(PixelAt(*image, 1, 0), (Rgba{128, 128, 128}));
  EXPECT_EQ(PixelAt(*image, 2, 0), kWhite);
}

TEST(DecodePng, PaletteAndGreyTransparency) {
  PngPicture palette;
  palette.width = 5;
  palette.height = 1;
  palette.colour_type = 3;
  palette.bit_depth = 2;
  palette.palette = {kRed, Rgba{0, 255, 0, 0}, Rgba{0, 0, 255, 100}, kOdd};
  palette.rows = {Row({0b00011011, 0b11000000})};  // 0 1 2 3 3
  const std::optional<ui::Image> a = Decode(EncodePng(palette));
  ASSERT_TRUE(a);
  EXPECT_EQ(PixelAt(*a, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*a, 1, 0).a, 0);
  EXPECT_EQ(PixelAt(*a, 2, 0), (Rgba{0, 0, 255, 100}));
  EXPECT_EQ(PixelAt(*a, 4, 0), kOdd);

  PngPicture grey;
  grey.width = 2;
  grey.height = 1;
  grey.colour_type = 0;
  grey.transparent = {50};
  grey.rows = {Row({50, 51})};
  const std::optional<ui::Image> b = Decode(EncodePng(grey));
  ASSERT_TRUE(b);
  EXPECT_EQ(PixelAt(*b, 0, 0).a, 0);
  EXPECT_EQ(PixelAt(*b, 1, 0), (Rgba{51, 51, 51, 255}));
}

TEST(DecodePng, InterlacedPixelsLandInPlace) {
  const std::optional<ui::Image> image = Decode(Interlaced9x9Png());
  ASSERT_TRUE(image);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) EXPECT_EQ(PixelAt(*image, x, y), (Rgba{x * 20, y * 20, x + y}));
  }
}

TEST(DecodePng, DamageAndOversizeGiveNoImage) {
  const Bytes good = PngRgba2x2();
  Bytes flipped = good;
  flipped[good.size() - 20] ^= 0x40;  // inside IDAT: its CRC no longer matches
  EXPECT_FALSE(Decode(flipped));

  const std::size_t ihdr = 8;
  for (std::uint32_t side : {20000u, 16384u, 0u}) {
    Bytes big = good;
    for (std::size_t field : {ihdr + 8, ihdr + 12}) {
      for (int i = 0; i < 4; ++i) big[field + i] = (side >> (24 - 8 * i)) & 0xFF;
    }
    FixChunkCrc(big, ihdr);
    EXPECT_FALSE(Decode(big)) << side;
  }
}

// ---- JPEG ----

TEST(DecodeJpeg, ColourGreyProgressiveAndCmyk) {
  const Bytes rgb = QuadrantRgb(32);
  ExpectQuadrants(Decode(EncodeJpeg(32, 32, 3, rgb)), 32);
  ExpectQuadrants(Decode(EncodeJpeg(32, 32, 3, rgb, true)), 32);

  Bytes grey;
  for (int y = 0; y < 16; ++y) grey.insert(grey.end(), 16, std::uint8_t(y < 8 ? 40 : 200));
  const std::optional<ui::Image> g = Decode(EncodeJpeg(16, 16, 1, grey));
  ASSERT_TRUE(g);
  ExpectNear(PixelAt(*g, 5, 2), Rgba{40, 40, 40}, 4);
  ExpectNear(PixelAt(*g, 5, 13), Rgba{200, 200, 200}, 4);

  // Inks stored inverted, as the Adobe marker written with CMYK says: cyan, no ink, black.
  Bytes cmyk;
  for (int x = 0; x < 48; ++x) {
    const Bytes ink = x < 16 ? Row({0, 255, 255, 255}) : x < 32 ? Row({255, 255, 255, 255})
                                                                : Row({255, 255, 255, 0});
    cmyk.insert(cmyk.end(), ink.begin(), ink.end());
  }
  Bytes cmyk_rows;
  for (int y = 0; y < 8; ++y) cmyk_rows.insert(cmyk_rows.end(), cmyk.begin(), cmyk.end());
  const std::optional<ui::Image> c = Decode(EncodeJpeg(48, 8, 4, cmyk_rows));
  ASSERT_TRUE(c);
  ExpectNear(PixelAt(*c, 4, 4), Rgba{0, 255, 255}, 10);
  ExpectNear(PixelAt(*c, 24, 4), kWhite, 10);
  ExpectNear(PixelAt(*c, 44, 4), kBlack, 10);
}

TEST(DecodeJpeg, EndlessScanListsAreRefused) {
  const Bytes grey(16 * 16, 128);
  EXPECT_TRUE(Decode(EncodeGreyJpegWithManyScans(16, 16, grey, 0)));   // 64 scans
  EXPECT_FALSE(Decode(EncodeGreyJpegWithManyScans(16, 16, grey, 9)));  // 631 scans
}

// ---- ICO ----

TEST(DecodeIco, ThirtyTwoBitAlphaWins) {
  const std::optional<ui::Image> image =
      Decode(EncodeIco({{16, 16, 32, IconBitmap32(16, Rgba{10, 20, 30, 90}, Row({0xFF, 0xFF}))}}));
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, 16);
  ASSERT_EQ(image->height, 16);
  EXPECT_EQ(PixelAt(*image, 3, 3), (Rgba{10, 20, 30, 90}));  // the mask is ignored
}

TEST(DecodeIco, AndMaskMakesTransparency) {
  const std::optional<ui::Image> four = Decode(EncodeIco({{16, 16, 4, IconBitmap4()}}));
  ASSERT_TRUE(four);
  EXPECT_EQ(PixelAt(*four, 2, 5).a, 0);
  EXPECT_EQ(PixelAt(*four, 5, 5), kRed);
  EXPECT_EQ(PixelAt(*four, 12, 5), kBlue);

  // 32-bit colour rows with no alpha at all: the mask decides, as for older depths.
  const std::optional<ui::Image> flat =
      Decode(EncodeIco({{16, 16, 32, IconBitmap32(16, Rgba{10, 20, 30, 0}, Row({0x80, 0x00}))}}));
  ASSERT_TRUE(flat);
  EXPECT_EQ(PixelAt(*flat, 0, 7).a, 0);
  EXPECT_EQ(PixelAt(*flat, 1, 7), kOdd);
}

TEST(DecodeIco, ChoosesSmall32BitElseLargest) {
  const Bytes small32 = IconBitmap32(16, kBlue);
  const std::optional<ui::Image> chosen = Decode(EncodeIco(
      {{32, 32, 32, IconBitmap32(32, kGreen)}, {16, 16, 4, IconBitmap4()}, {16, 16, 0, small32}}));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->width, 16);
  EXPECT_EQ(PixelAt(*chosen, 8, 8), kBlue);

  const std::optional<ui::Image> largest = Decode(EncodeIco(
      {{32, 32, 32, IconBitmap32(32, kGreen)}, {48, 48, 32, IconBitmap32(48, kRed)}}));
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->width, 48);
  EXPECT_EQ(PixelAt(*largest, 40, 40), kRed);
}

TEST(DecodeIco, EmbeddedPngAndDamagedEntryFallback) {
  const std::optional<ui::Image> png = Decode(EncodeIco({{0, 0, 32, PngRgba2x2()}}));
  ASSERT_TRUE(png);
  EXPECT_EQ(PixelAt(*png, 1, 1), (Rgba{10, 20, 30, 7}));

  Bytes damaged = EncodeIco({{48, 48, 32, IconBitmap32(48, kRed)}, {16, 16, 4, IconBitmap4()}});
  SetU32(damaged, 6 + 12, 0x7FFFFFFF);  // the preferred entry's offset points nowhere
  const std::optional<ui::Image> fallback = Decode(damaged);
  ASSERT_TRUE(fallback);
  EXPECT_EQ(fallback->width, 16);
}

// ---- robustness, all formats ----

TEST(DecodeRobustness, EveryTruncationFailsCleanlyOrDecodes) {
  DibPicture bmp8 = Bmp8WithPalette();
  const std::vector<std::pair<const char*, Bytes>> files = {
      {"bmp24", EncodeBmp(Bmp24(false))},
      {"bmp8", EncodeBmp(bmp8)},
      {"png", Interlaced9x9Png()},
      {"jpeg", EncodeJpeg(32, 32, 3, QuadrantRgb(32), true)},
      {"ico", SampleIco()},
  };
  for (const auto& [name, file] : files) {
    const std::optional<ui::Image> whole = Decode(file);
    ASSERT_TRUE(whole) << name;
    for (std::size_t length = 0; length < file.size(); ++length) {
      const Bytes prefix(file.begin(), file.begin() + length);  // exact size for the checkers
      const std::optional<ui::Image> image = Decode(prefix);
      if (!image) continue;
      EXPECT_TRUE(Consistent(*image)) << name << " " << length;
      EXPECT_EQ(image->width, whole->width) << name << " " << length;
    }
  }
}

TEST(DecodeRobustness, GarbageAndMutatedFilesNeverCrash) {
  std::mt19937 random(1234);
  for (int i = 0; i < 300; ++i) {
    Bytes garbage(random() % 2000);
    for (std::uint8_t& b : garbage) b = random() & 0xFF;
    EXPECT_FALSE(Decode(garbage));
  }
  const std::vector<Bytes> files = {EncodeBmp(Bmp24(true)), EncodeBmp(Bmp8WithPalette()),
                                    PngRgba2x2(), Interlaced9x9Png(),
                                    EncodeJpeg(32, 32, 3, QuadrantRgb(32)),
                                    EncodeJpeg(32, 32, 3, QuadrantRgb(32), true), SampleIco()};
  for (const Bytes& file : files) {
    for (int i = 0; i < 1500; ++i) {
      Bytes mutated = file;
      for (int n = 1 + random() % 4; n > 0; --n) {
        mutated[4 + random() % (file.size() - 4)] = random() & 0xFF;  // signatures stay
      }
      const std::optional<ui::Image> image = Decode(mutated);
      if (image) {
        EXPECT_TRUE(Consistent(*image));
      }
    }
  }
}

TEST(LoadImageFile, ReadsFilesWithinTheSizeLimit) {
  const std::string folder = FreshFolder("load_image");
  const std::string path = folder + "/picture.png";
  WriteBytes(path, PngRgba2x2());
  const std::optional<ui::Image> image = ui::LoadImageFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(*image, 1, 1), (Rgba{10, 20, 30, 7}));
  EXPECT_FALSE(ui::LoadImageFile(folder + "/missing.png"));

  // A valid bitmap followed by enough padding to pass the limit.
  const std::string big = folder + "/big.bmp";
  WriteBytes(big, EncodeBmp(Bmp24(false)));
  ASSERT_TRUE(ui::LoadImageFile(big));
  std::filesystem::resize_file(big, ui::kMaxImageFileBytes + 1);
  EXPECT_FALSE(ui::LoadImageFile(big));
  std::filesystem::remove_all(folder);
}
