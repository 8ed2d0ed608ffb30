#include <windows.h>

#include <map>
#include <utility>

#include "platform/win32/dpi_win32.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/scale.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {

struct FontRequest {
  std::string face;
  int points = 0;
  bool bold = false;
};

std::map<int, FontRequest>& Requests() {
  static std::map<int, FontRequest> requests;
  return requests;
}

// Each font is made once for each DPI a window asks it for, and kept until the end: controls
// hold on to the fonts they were given.
std::map<std::pair<int, int>, HFONT>& Made() {
  static std::map<std::pair<int, int>, HFONT> made;
  return made;
}

// A font's height at `dpi` is its height at 96 DPI scaled down to whole pixels: text then grows
// no faster than the boxes around it, whose lengths are scaled by the rule of ui/scale.h, and
// what fits at 96 DPI fits at any resolution. (Heights are negative: character heights.)
int HeightAt(int height_at_96, int dpi) { return height_at_96 * dpi / kBaseDpi; }

HFONT Create(const FontRequest& request, int dpi) {
  const int height = HeightAt(-MulDiv(request.points, kBaseDpi, 72), dpi);
  return CreateFontA(height, 0, 0, 0, request.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     request.face.c_str());
}

// The system's default GUI font, made for the system's DPI, at the height the rule above gives
// its 96-DPI height. On a system at 96 DPI, a window at 96 DPI keeps the font itself.
HFONT DefaultFont(int dpi) {
  HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const int system_dpi = services::win32::SystemDpi();
  if (dpi == kBaseDpi && system_dpi == kBaseDpi) return stock;
  HFONT& slot = Made()[{kDefaultFont, dpi}];
  if (!slot) {
    LOGFONTA look = {};
    if (!GetObjectA(stock, sizeof look, &look)) return stock;
    look.lfHeight = HeightAt(MulDiv(look.lfHeight, kBaseDpi, system_dpi), dpi);
    look.lfWidth = HeightAt(MulDiv(look.lfWidth, kBaseDpi, system_dpi), dpi);
    slot = CreateFontIndirectA(&look);
  }
  return slot ? slot : stock;
}

}  // namespace

bool MakeFont(int number, const std::string& face, int points, bool bold) {
  const FontRequest request = {face, points, bold};
  HFONT first = Create(request, services::win32::SystemDpi());
  if (!first) return false;
  for (auto made = Made().lower_bound({number, 0}); made != Made().end() && made->first.first == number;) {
    DeleteObject(made->second);
    made = Made().erase(made);
  }
  Requests()[number] = request;
  Made()[{number, services::win32::SystemDpi()}] = first;
  return true;
}

namespace win32 {

HFONT FontHandle(int number, int dpi) {
  auto request = Requests().find(number);
  if (number == kDefaultFont || request == Requests().end()) return DefaultFont(dpi);
  HFONT& slot = Made()[{number, dpi}];
  if (!slot) slot = Create(request->second, dpi);
  return slot ? slot : DefaultFont(dpi);
}

void ReleaseFonts() {
  for (auto& [key, font] : Made()) {
    if (font) DeleteObject(font);
  }
  Made().clear();
  Requests().clear();
}

}  // namespace win32
}  // namespace ui
