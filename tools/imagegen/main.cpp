// imagegen: turns the rendered 16 x 16 icon pictures into the program's built-in images.
//
//   imagegen <gen-dir> <NN-name.png>...
//
// Takes one PNG for each icon 00..21 (the number is the start of the file name) and writes
//   <gen-dir>/builtin_images_data.cpp   the C++ arrays compiled into the programs
//   <gen-dir>/image0.ico                the program's own icon, for its resource file
//   <gen-dir>/images/image_NN.ico       every icon, and image_30.bmp, the hue strip
// Files whose contents did not change are left untouched.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/imagegen/bmp_writer.h"
#include "tools/imagegen/cpp_writer.h"
#include "tools/imagegen/file_output.h"
#include "tools/imagegen/hue_spectrum.h"
#include "tools/imagegen/ico_writer.h"
#include "ui/image.h"

namespace {

constexpr int kIconCount = 22;
constexpr int kSpectrumNumber = 30;

// The icon number at the start of the file name ("07-applications-off.png" -> 7).
std::optional<int> IconNumber(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.size() < 3 || !std::isdigit(static_cast<unsigned char>(name[0])) ||
      !std::isdigit(static_cast<unsigned char>(name[1])) || name[2] != '-') {
    return std::nullopt;
  }
  const int number = (name[0] - '0') * 10 + (name[1] - '0');
  if (number >= kIconCount) return std::nullopt;
  return number;
}

std::optional<std::vector<std::uint8_t>> IconFromPng(const std::string& path) {
  const std::optional<ui::Image> picture = ui::LoadImageFile(path);
  if (!picture) {
    std::fprintf(stderr, "imagegen: cannot read %s\n", path.c_str());
    return std::nullopt;
  }
  std::optional<std::vector<std::uint8_t>> icon = imagegen::EncodeIcon16(*picture);
  if (!icon) {
    std::fprintf(stderr, "imagegen: %s is %d x %d, not 16 x 16\n", path.c_str(), picture->width,
                 picture->height);
  }
  return icon;
}

using Images = std::vector<imagegen::NumberedImage>;

// All icons in number order, each number exactly once.
std::optional<Images> LoadIcons(const std::vector<std::string>& pngs) {
  Images icons(kIconCount, imagegen::NumberedImage{-1, {}});
  for (const std::string& png : pngs) {
    const std::optional<int> number = IconNumber(png);
    if (!number || icons[*number].number >= 0) {
      std::fprintf(stderr, "imagegen: %s: missing, unknown or repeated icon number\n", png.c_str());
      return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> icon = IconFromPng(png);
    if (!icon) return std::nullopt;
    icons[*number] = imagegen::NumberedImage{*number, std::move(*icon)};
  }
  for (int number = 0; number < kIconCount; ++number) {
    if (icons[number].number < 0) {
      std::fprintf(stderr, "imagegen: no picture for icon %02d\n", number);
      return std::nullopt;
    }
  }
  return icons;
}

std::string AsString(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

bool Write(const std::filesystem::path& path, const std::string& bytes) {
  if (imagegen::WriteFileIfChanged(path.string(), bytes)) return true;
  std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
  return false;
}

bool WriteOutputs(const std::filesystem::path& gen_dir, const Images& images) {
  const std::filesystem::path image_dir = gen_dir / "images";
  std::error_code error;
  std::filesystem::create_directories(image_dir, error);
  if (error) {
    std::fprintf(stderr, "imagegen: cannot create %s\n", image_dir.string().c_str());
    return false;
  }
  for (const imagegen::NumberedImage& image : images) {
    char name[32];
    const bool is_icon = image.number < kIconCount;
    std::snprintf(name, sizeof name, is_icon ? "image_%02d.ico" : "image_%02d.bmp", image.number);
    if (!Write(image_dir / name, AsString(image.bytes))) return false;
  }
  return Write(gen_dir / "image0.ico", AsString(images.front().bytes)) &&
         Write(gen_dir / "builtin_images_data.cpp", imagegen::BuiltinImagesSource(images));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: imagegen <gen-dir> <NN-name.png>...\n");
    return 2;
  }
  std::optional<Images> images = LoadIcons(std::vector<std::string>(argv + 2, argv + argc));
  if (!images) return 1;
  using imagegen::kSpectrumHeight, imagegen::kSpectrumWidth;
  const ui::Image strip = imagegen::HueSpectrum(kSpectrumWidth, kSpectrumHeight);
  std::optional<std::vector<std::uint8_t>> spectrum = imagegen::EncodeBmp24(strip);
  if (!spectrum) return 1;
  images->push_back(imagegen::NumberedImage{kSpectrumNumber, std::move(*spectrum)});
  return WriteOutputs(argv[1], *images) ? 0 : 1;
}
