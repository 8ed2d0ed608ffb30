// imagegen: turns the rendered icon pictures into the program's built-in images.
//
//   imagegen <gen-dir> <NN-name.png>...
//
// Takes each icon 00..21 rendered at 16 pixels and at the sides it takes on screens of 120, 144
// and 192 DPI (20, 24 and 32): the number is the start of the file name, the side is read from
// the picture. Writes
//   <gen-dir>/builtin_images_data.cpp       the C++ arrays compiled into the programs
//   <gen-dir>/image0.ico                    the program's own icon, for its resource file
//   <gen-dir>/images/image_NN.ico           every 16-pixel icon, and image_30.bmp, the hue strip
//   <gen-dir>/images/image_NN_<dpi>.ico     the same for the other screens, and image_30_<dpi>.bmp
// Files whose contents did not change are left untouched.
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tools/imagegen/bmp_writer.h"
#include "tools/imagegen/cpp_writer.h"
#include "tools/imagegen/file_output.h"
#include "tools/imagegen/hue_spectrum.h"
#include "tools/imagegen/icon_files.h"
#include "ui/image.h"
#include "ui/scale.h"

namespace {

constexpr int kIconCount = 22;
constexpr int kIconSide = 16;
constexpr int kSpectrumNumber = 30;
constexpr int kScaledDpis[] = {120, 144, 192};

using imagegen::kBaseDpi;
using Images = std::vector<imagegen::NumberedImage>;

// Every picture is drawn for each DPI at the sizes the program's layout scales to.
std::vector<int> IconSides() {
  std::vector<int> sides{kIconSide};
  for (const int dpi : kScaledDpis) sides.push_back(ui::Scaled(kIconSide, dpi));
  return sides;
}

std::optional<std::vector<std::uint8_t>> Spectrum(int dpi) {
  using imagegen::kSpectrumHeight, imagegen::kSpectrumWidth;
  return imagegen::EncodeBmp24(imagegen::HueSpectrum(ui::Scaled(kSpectrumWidth, dpi),
                                                     ui::Scaled(kSpectrumHeight, dpi)));
}

// In number order, and for each number in the order of `dpis`.
std::optional<Images> Pictures(const imagegen::IconFiles& icons, const std::vector<int>& dpis) {
  Images images;
  for (int number = 0; number < kIconCount; ++number) {
    for (const int dpi : dpis) {
      const auto icon = icons.find({number, ui::Scaled(kIconSide, dpi)});
      if (icon == icons.end()) return std::nullopt;
      images.push_back(imagegen::NumberedImage{number, dpi, icon->second});
    }
  }
  for (const int dpi : dpis) {
    std::optional<std::vector<std::uint8_t>> strip = Spectrum(dpi);
    if (!strip) return std::nullopt;
    images.push_back(imagegen::NumberedImage{kSpectrumNumber, dpi, std::move(*strip)});
  }
  return images;
}

std::string FileName(const imagegen::NumberedImage& image) {
  const char* extension = image.number < kIconCount ? "ico" : "bmp";
  char name[40];
  if (image.dpi == kBaseDpi) {
    std::snprintf(name, sizeof name, "image_%02d.%s", image.number, extension);
  } else {
    std::snprintf(name, sizeof name, "image_%02d_%d.%s", image.number, image.dpi, extension);
  }
  return name;
}

std::string AsString(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

bool Write(const std::filesystem::path& path, const std::string& bytes) {
  if (imagegen::WriteFileIfChanged(path.string(), bytes)) return true;
  std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
  return false;
}

bool WriteOutputs(const std::filesystem::path& gen_dir, const Images& images,
                  const Images& scaled) {
  const std::filesystem::path image_dir = gen_dir / "images";
  std::error_code error;
  std::filesystem::create_directories(image_dir, error);
  if (error) {
    std::fprintf(stderr, "imagegen: cannot create %s\n", image_dir.string().c_str());
    return false;
  }
  for (const Images* list : {&images, &scaled}) {
    for (const imagegen::NumberedImage& image : *list) {
      if (!Write(image_dir / FileName(image), AsString(image.bytes))) return false;
    }
  }
  return Write(gen_dir / "image0.ico", AsString(images.front().bytes)) &&
         Write(gen_dir / "builtin_images_data.cpp",
               imagegen::BuiltinImagesSource(images, scaled));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: imagegen <gen-dir> <NN-name.png>...\n");
    return 2;
  }
  const std::optional<imagegen::IconFiles> icons = imagegen::LoadIconFiles(
      std::vector<std::string>(argv + 2, argv + argc), kIconCount, IconSides());
  if (!icons) return 1;
  const std::optional<Images> images = Pictures(*icons, {kBaseDpi});
  const std::optional<Images> scaled =
      Pictures(*icons, std::vector<int>(std::begin(kScaledDpis), std::end(kScaledDpis)));
  if (!images || !scaled) {
    std::fprintf(stderr, "imagegen: cannot draw the pictures\n");
    return 1;
  }
  return WriteOutputs(argv[1], *images, *scaled) ? 0 : 1;
}
