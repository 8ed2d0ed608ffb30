// Painting a window that draws its elements: the background (colour or picture anchored at the
// window's top-left corner), then every element the paint area touches, in creation order, into
// a bitmap the size of that area, copied to the screen at once: a window never shows half drawn.
// Each element paints as the control it stands for did: a text as a static control answered by
// the window's colours, a link with its hover colour, a picture fitted to its box.
#include <windows.h>

#include "ui/win32/runtime_state.h"

namespace ui::win32 {

namespace {

// A pattern brush repeats its picture from the brush origin: the window's (0, 0), which lies at
// (-left, -top) of a bitmap covering the area from (left, top).
void AnchorBrush(HDC dc, HBRUSH brush, const RECT& area) {
  LOGBRUSH info = {};
  BITMAP picture = {};
  int width = 0, height = 0;
  if (brush && GetObjectA(brush, sizeof info, &info) && info.lbStyle == BS_PATTERN &&
      GetObjectA(reinterpret_cast<HBITMAP>(info.lbHatch), sizeof picture, &picture)) {
    width = picture.bmWidth;
    height = picture.bmHeight;
  }
  const int x = width > 0 ? ((-area.left) % width + width) % width : -area.left;
  const int y = height > 0 ? ((-area.top) % height + height) % height : -area.top;
  SetBrushOrgEx(dc, x, y, nullptr);
}

// What the paint has set in the DC already: a menu paints hundreds of elements in a few fonts
// and colours, and each call into GDI costs a trip through the system.
struct DrawingState {
  HFONT font = nullptr;
  COLORREF colour = CLR_INVALID;
};

void UseColour(HDC dc, DrawingState& state, COLORREF colour) {
  if (state.colour == colour) return;
  SetTextColor(dc, colour);
  state.colour = colour;
}

void UseFont(HDC dc, DrawingState& state, HFONT font) {
  if (state.font == font) return;
  SelectObject(dc, font);
  state.font = font;
}

HBRUSH WindowBrush(const WindowRecord& window) {
  return window.background ? window.background : GetSysColorBrush(COLOR_BTNFACE);
}

// What the window answered a static control asking for its colours: the element's own colours,
// else the window's background, else the system's. Fills the box unless transparent.
void PaintColours(HDC dc, DrawingState& state, const WindowRecord& window, const Element& element, const RECT& box) {
  if (element.has_colours) {
    UseColour(dc, state, element.colours.text);
    if (element.colours.transparent) return;
    HBRUSH brush = CreateSolidBrush(element.colours.background);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
    return;
  }
  if (window.background) {
    UseColour(dc, state, RGB(0, 0, 0));
    FillRect(dc, &box, window.background);
    return;
  }
  UseColour(dc, state, GetSysColor(COLOR_WINDOWTEXT));
  FillRect(dc, &box, GetSysColorBrush(COLOR_3DFACE));
}

// The edge a static control draws around itself; the box left inside it.
RECT PaintEdge(HDC dc, const Element& element, RECT box) {
  if (element.edge == TextEdge::Border) {
    FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&box, -1, -1);
  } else if (element.edge == TextEdge::Sunken) {
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  return box;
}

UINT TextFormat(const Element& element) {
  switch (element.align) {
    case TextAlign::Centre:
      return DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
    case TextAlign::Right:
      return DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
    case TextAlign::Left:
      break;
  }
  return DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX;
}

void PaintWords(HDC dc, DrawingState& state, const WindowRecord& window, const Element& element, RECT box,
                UINT format) {
  UseFont(dc, state, FontHandle(element.font, window.dpi));
  DrawTextA(dc, element.text.c_str(), static_cast<int>(element.text.size()), &box, format);
}

void PaintText(HDC dc, DrawingState& state, const WindowRecord& window, const Element& element, const RECT& box) {
  const RECT inside = PaintEdge(dc, element, box);
  PaintColours(dc, state, window, element, inside);
  if (!element.enabled) UseColour(dc, state, GetSysColor(COLOR_GRAYTEXT));
  PaintWords(dc, state, window, element, inside, TextFormat(element));
}

void PaintLink(HDC dc, DrawingState& state, const WindowRecord& window, const Element& element, const RECT& box) {
  PaintColours(dc, state, window, element, box);
  if (window.elements.hot == element.number) UseColour(dc, state, element.hover);
  PaintWords(dc, state, window, element, box, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void PaintContainer(HDC dc, DrawingState& state, const WindowRecord& window, const Element& element,
                    const RECT& box) {
  const RECT inside = PaintEdge(dc, element, box);
  PaintColours(dc, state, window, element, inside);
}

void PaintBitmap(HDC dc, HBITMAP bitmap, const RECT& box) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  const int width = box.right - box.left, height = box.bottom - box.top;
  if (info.bmWidth == width && info.bmHeight == height) {
    BitBlt(dc, box.left, box.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    const int mode = SetStretchBltMode(dc, HALFTONE);
    POINT origin;
    SetBrushOrgEx(dc, 0, 0, &origin);
    StretchBlt(dc, box.left, box.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetStretchBltMode(dc, mode);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

// Pictures fill their box: at the DPI they were drawn for that is their own size.
void PaintPicture(HDC dc, const WindowRecord& window, const Element& element, const RECT& box) {
  const int width = box.right - box.left, height = box.bottom - box.top;
  if (element.icon) {
    DrawIconEx(dc, box.left, box.top, reinterpret_cast<HICON>(element.icon), width, height, 0, nullptr, DI_NORMAL);
  } else if (HICON icon = IconHandle(element.image, window.dpi)) {
    DrawIconEx(dc, box.left, box.top, icon, width, height, 0, nullptr, DI_NORMAL);
  } else if (HBITMAP bitmap = BitmapHandle(element.image, window.dpi)) {
    PaintBitmap(dc, bitmap, box);
  }
}

void PaintElement(HDC dc, DrawingState& state, const WindowRecord& window, const Element& element, const RECT& box) {
  switch (element.kind) {
    case ElementKind::Text:
      PaintText(dc, state, window, element, box);
      break;
    case ElementKind::Link:
      PaintLink(dc, state, window, element, box);
      break;
    case ElementKind::Container:
      PaintContainer(dc, state, window, element, box);
      break;
    case ElementKind::Picture:
    case ElementKind::IconButton:
    case ElementKind::ImageButton:
      PaintPicture(dc, window, element, box);
      break;
  }
}

// Paints the area (window pixels) into `dc`, whose logical coordinates are the window's.
void PaintContent(HDC dc, const WindowRecord& window, const RECT& area) {
  AnchorBrush(dc, window.background, area);
  FillRect(dc, &area, WindowBrush(window));
  DrawingState state;
  const HGDIOBJ original_font = GetCurrentObject(dc, OBJ_FONT);
  SetBkMode(dc, TRANSPARENT);  // every text lies over what is painted under it
  for (const Element& element : window.elements.items) {
    const RECT box = ElementRect(window, element);
    RECT touched;
    if (!IntersectRect(&touched, &box, &area)) continue;
    PaintElement(dc, state, window, element, box);  // each keeps to its box: DrawText clips, the rest fits
  }
  SelectObject(dc, original_font);
}

}  // namespace

void PaintDrawnWindow(WindowRecord& window) {
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(window.handle, &paint);
  const RECT area = paint.rcPaint;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (screen && width > 0 && height > 0) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (dc && bitmap) {
      HGDIOBJ old = SelectObject(dc, bitmap);
      SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
      PaintContent(dc, window, area);
      BitBlt(screen, area.left, area.top, width, height, dc, area.left, area.top, SRCCOPY);
      SelectObject(dc, old);
    } else {
      PaintContent(screen, window, area);  // short of memory: straight on the screen
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
  }
  EndPaint(window.handle, &paint);
}

}  // namespace ui::win32
