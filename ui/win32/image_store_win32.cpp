#include <windows.h>

#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "ui/builtin_images.h"
#include "ui/image_store.h"
#include "ui/scale.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {

// One picture of an image number. A built-in image has one for each DPI it is drawn for; any
// other image has one, drawn for 96 DPI.
struct Picture {
  int dpi = kBaseDpi;
  HICON icon = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

using StoredImage = std::vector<Picture>;  // in rising DPI, the 96-DPI picture first

std::map<int, StoredImage>& Store() {
  static std::map<int, StoredImage> images;
  return images;
}

void Release(StoredImage& image) {
  for (Picture& picture : image) {
    if (picture.icon) DestroyIcon(picture.icon);
    if (picture.bitmap) DeleteObject(picture.bitmap);
  }
  image.clear();
}

std::uint32_t Little32(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool IsIco(const unsigned char* data, std::size_t size) {
  return size >= 22 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0;
}

std::optional<Picture> IconPicture(const unsigned char* ico, std::size_t size) {
  if (!IsIco(ico, size)) return std::nullopt;
  // The first directory entry: its size and offset must lie inside the data.
  const std::uint32_t length = Little32(ico + 6 + 8);
  const std::uint32_t offset = Little32(ico + 6 + 12);
  if (offset > size || length > size - offset || length == 0) return std::nullopt;
  const int width = ico[6] ? ico[6] : 256;
  const int height = ico[7] ? ico[7] : 256;
  HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(ico + offset), length, TRUE, 0x00030000, width,
                                        height, LR_DEFAULTCOLOR);
  if (!icon) return std::nullopt;
  Picture picture;
  picture.icon = icon;
  picture.width = width;
  picture.height = height;
  return picture;
}

std::optional<Picture> BitmapPicture(const Image& image) {
  if (image.empty() || image.bgra.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
    return std::nullopt;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down, as Image holds its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return std::nullopt;
  if (!bits) {
    DeleteObject(bitmap);
    return std::nullopt;
  }
  std::memcpy(bits, image.bgra.data(), image.bgra.size());
  Picture picture;
  picture.bitmap = bitmap;
  picture.width = image.width;
  picture.height = image.height;
  return picture;
}

// A carried picture: an .ico file or an image file the decoder reads.
std::optional<Picture> CarriedPicture(const unsigned char* bytes, std::size_t size, int dpi) {
  std::optional<Picture> picture;
  if (IsIco(bytes, size)) {
    picture = IconPicture(bytes, size);
  } else if (std::optional<Image> decoded = DecodeImage(bytes, size)) {
    picture = BitmapPicture(*decoded);
  }
  if (picture) picture->dpi = dpi;
  return picture;
}

void Put(int number, Picture picture) {
  FreeImage(number);
  Store()[number] = {picture};
}

// The picture for a window at `dpi`: the one drawn for the nearest DPI, else the 96-DPI one.
const Picture* PictureFor(int number, int dpi) {
  auto found = Store().find(number);
  if (found == Store().end() || found->second.empty()) return nullptr;
  const int wanted = PictureDpi(dpi);
  for (const Picture& picture : found->second) {
    if (picture.dpi == wanted) return &picture;
  }
  return &found->second.front();
}

}  // namespace

bool StoreIcon(int number, const unsigned char* ico, std::size_t size) {
  std::optional<Picture> picture = IconPicture(ico, size);
  if (!picture) return false;
  Put(number, *picture);
  return true;
}

bool StoreBitmap(int number, const Image& image) {
  std::optional<Picture> picture = BitmapPicture(image);
  if (!picture) return false;
  Put(number, *picture);
  return true;
}

bool StoreBuiltinImages() {
  bool all = true;
  for (std::size_t i = 0; i < kBuiltinImageCount; ++i) {
    const BuiltinImageData& data = kBuiltinImages[i];
    std::optional<Picture> picture = CarriedPicture(data.bytes, data.size, kBaseDpi);
    if (picture) {
      Put(data.number, *picture);
    } else {
      all = false;
    }
  }
  for (std::size_t i = 0; i < kScaledBuiltinImageCount; ++i) {
    const ScaledImageData& data = kScaledBuiltinImages[i];
    auto stored = Store().find(data.number);
    std::optional<Picture> picture = CarriedPicture(data.bytes, data.size, data.dpi);
    if (picture && stored != Store().end()) {
      stored->second.push_back(*picture);
    } else {
      StoredImage orphan;  // a picture without its 96-DPI one is not kept
      if (picture) orphan.push_back(*picture);
      Release(orphan);
      all = false;
    }
  }
  return all;
}

bool HasImage(int number) { return Store().count(number) != 0; }

void FreeImage(int number) {
  auto found = Store().find(number);
  if (found == Store().end()) return;
  Release(found->second);
  Store().erase(found);
}

void ImageSize(int number, int* width, int* height) {
  const Picture* picture = PictureFor(number, kBaseDpi);
  *width = picture ? picture->width : 0;
  *height = picture ? picture->height : 0;
}

int ScreenDepth() {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

namespace win32 {

HBITMAP BitmapHandle(int number, int dpi) {
  const Picture* picture = PictureFor(number, dpi);
  return picture ? picture->bitmap : nullptr;
}

HICON IconHandle(int number, int dpi) {
  const Picture* picture = PictureFor(number, dpi);
  return picture ? picture->icon : nullptr;
}

void ReleaseImages() {
  for (auto& [number, image] : Store()) Release(image);
  Store().clear();
}

}  // namespace win32
}  // namespace ui
