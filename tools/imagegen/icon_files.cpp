#include "tools/imagegen/icon_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "tools/imagegen/ico_writer.h"
#include "ui/image.h"

namespace imagegen {
namespace {

// The icon number at the start of the file name ("07-applications-off@20.png" -> 7).
std::optional<int> IconNumber(const std::string& path, int icon_count) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.size() < 3 || !std::isdigit(static_cast<unsigned char>(name[0])) ||
      !std::isdigit(static_cast<unsigned char>(name[1])) || name[2] != '-') {
    return std::nullopt;
  }
  const int number = (name[0] - '0') * 10 + (name[1] - '0');
  if (number >= icon_count) return std::nullopt;
  return number;
}

bool WantedSide(const ui::Image& picture, const std::vector<int>& sides) {
  return picture.width == picture.height &&
         std::find(sides.begin(), sides.end(), picture.width) != sides.end();
}

}  // namespace

std::optional<IconFiles> LoadIconFiles(const std::vector<std::string>& pngs, int icon_count,
                                       const std::vector<int>& sides) {
  IconFiles icons;
  for (const std::string& png : pngs) {
    const std::optional<int> number = IconNumber(png, icon_count);
    if (!number) {
      std::fprintf(stderr, "imagegen: %s: missing or unknown icon number\n", png.c_str());
      return std::nullopt;
    }
    const std::optional<ui::Image> picture = ui::LoadImageFile(png);
    if (!picture) {
      std::fprintf(stderr, "imagegen: cannot read %s\n", png.c_str());
      return std::nullopt;
    }
    if (!WantedSide(*picture, sides)) {
      std::fprintf(stderr, "imagegen: %s is %d x %d, not an icon size\n", png.c_str(),
                   picture->width, picture->height);
      return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> icon = EncodeIcon(*picture);
    if (!icon) {
      std::fprintf(stderr, "imagegen: cannot encode %s\n", png.c_str());
      return std::nullopt;
    }
    if (!icons.emplace(std::make_pair(*number, picture->width), std::move(*icon)).second) {
      std::fprintf(stderr, "imagegen: %s: a second %d-pixel picture of icon %02d\n", png.c_str(),
                   picture->width, *number);
      return std::nullopt;
    }
  }
  for (int number = 0; number < icon_count; ++number) {
    for (const int side : sides) {
      if (icons.count({number, side}) == 0) {
        std::fprintf(stderr, "imagegen: no %d-pixel picture for icon %02d\n", side, number);
        return std::nullopt;
      }
    }
  }
  return icons;
}

}  // namespace imagegen
