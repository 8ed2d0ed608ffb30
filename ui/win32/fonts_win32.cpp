#include <windows.h>

#include <map>

#include "ui/fonts.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {
std::map<int, HFONT>& Fonts() {
  static std::map<int, HFONT> fonts;
  return fonts;
}
}  // namespace

bool MakeFont(int number, const std::string& face, int points, bool bold) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face.c_str());
  if (!font) return false;
  HFONT& slot = Fonts()[number];
  if (slot) DeleteObject(slot);
  slot = font;
  return true;
}

namespace win32 {

HFONT FontHandle(int number) {
  auto found = Fonts().find(number);
  return found == Fonts().end() ? nullptr : found->second;
}

void ReleaseFonts() {
  for (auto& [number, font] : Fonts()) DeleteObject(font);
  Fonts().clear();
}

}  // namespace win32
}  // namespace ui
