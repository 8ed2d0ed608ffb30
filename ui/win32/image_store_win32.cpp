#include <windows.h>

#include <cstring>
#include <map>

#include "ui/builtin_images.h"
#include "ui/image_store.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {

struct StoredImage {
  HICON icon = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

std::map<int, StoredImage>& Store() {
  static std::map<int, StoredImage> images;
  return images;
}

void Release(StoredImage& image) {
  if (image.icon) DestroyIcon(image.icon);
  if (image.bitmap) DeleteObject(image.bitmap);
  image = {};
}

void Put(int number, StoredImage image) {
  FreeImage(number);
  Store()[number] = image;
}

std::uint32_t Little32(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool IsIco(const unsigned char* data, std::size_t size) {
  return size >= 22 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0;
}

}  // namespace

bool StoreIcon(int number, const unsigned char* ico, std::size_t size) {
  if (!IsIco(ico, size)) return false;
  // The first directory entry: its size and offset must lie inside the data.
  const std::uint32_t length = Little32(ico + 6 + 8);
  const std::uint32_t offset = Little32(ico + 6 + 12);
  if (offset > size || length > size - offset || length == 0) return false;
  const int width = ico[6] ? ico[6] : 256;
  const int height = ico[7] ? ico[7] : 256;
  HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(ico + offset), length, TRUE, 0x00030000, width,
                                        height, LR_DEFAULTCOLOR);
  if (!icon) return false;
  Put(number, {icon, nullptr, width, height});
  return true;
}

bool StoreBitmap(int number, const Image& image) {
  if (image.empty() || image.bgra.size() != static_cast<std::size_t>(image.width) * image.height * 4) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down, as Image holds its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return false;
  std::memcpy(bits, image.bgra.data(), image.bgra.size());
  Put(number, {nullptr, bitmap, image.width, image.height});
  return true;
}

bool StoreBuiltinImages() {
  bool all = true;
  for (std::size_t i = 0; i < kBuiltinImageCount; ++i) {
    const BuiltinImageData& data = kBuiltinImages[i];
    if (IsIco(data.bytes, data.size)) {
      all = StoreIcon(data.number, data.bytes, data.size) && all;
    } else {
      std::optional<Image> decoded = DecodeImage(data.bytes, data.size);
      all = decoded && StoreBitmap(data.number, *decoded) && all;
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
  auto found = Store().find(number);
  *width = found == Store().end() ? 0 : found->second.width;
  *height = found == Store().end() ? 0 : found->second.height;
}

int ScreenDepth() {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

namespace win32 {

HBITMAP BitmapHandle(int number) {
  auto found = Store().find(number);
  return found == Store().end() ? nullptr : found->second.bitmap;
}

HICON IconHandle(int number) {
  auto found = Store().find(number);
  return found == Store().end() ? nullptr : found->second.icon;
}

void ReleaseImages() {
  for (auto& [number, image] : Store()) Release(image);
  Store().clear();
}

}  // namespace win32
}  // namespace ui
