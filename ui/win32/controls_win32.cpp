#include <windows.h>
#include <commctrl.h>

#include "ui/controls.h"
#include "ui/image_store.h"
#include "ui/scale.h"
#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace ui {

using win32::ControlKind;
using win32::ControlRecord;
using win32::FindControl;
using win32::FindWindowRecord;
using win32::WindowRecord;

namespace {

int g_creation_font = kDefaultFont;

bool InitCommonControlsOnce() {
  static bool done = false;
  if (!done) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    done = InitCommonControlsEx(&classes) != FALSE;
  }
  return done;
}

struct Creation {
  ControlKind kind;
  const char* window_class;
  DWORD style;
  ElementKind element = ElementKind::Text;  // what it is in a window that draws its elements
};

// A font is given only to controls that draw text. Besides sparing the message, this spares
// a block under Wine, whose static control stores a font in one it never frees.
bool ShowsText(ControlKind kind) {
  return kind != ControlKind::Image && kind != ControlKind::IconButton && kind != ControlKind::Container &&
         kind != ControlKind::Slider;
}

bool NumberTaken(const WindowRecord& parent, int control) {
  return control < 0 || control > 0xFFFF || parent.controls.count(control) || FindElement(parent.elements, control);
}

// In a window that draws its elements: the control becomes one of them, with the creation font
// if it draws text.
int AddElement(WindowRecord& parent, int control, Box box, const std::string& text, Creation how) {
  Element element;
  element.number = control;
  element.kind = how.element;
  element.box = box;
  element.text = text;
  element.font = ShowsText(how.kind) ? g_creation_font : kDefaultFont;
  parent.elements.items.push_back(element);
  win32::RepaintElement(parent, element);
  return control;
}

// Creates the control at its box scaled for the window's DPI, records it under its number and
// gives it the creation font if it draws text.
int Create(int window, int control, Box box, const std::string& text, Creation how) {
  AnswerSentMessages();  // a window of many controls takes a while to build
  WindowRecord* parent = FindWindowRecord(window);
  if (!parent) return kNoControl;
  if (control == kAutoNumber) control = win32::NextAutoNumber();
  if (NumberTaken(*parent, control)) return kNoControl;
  if (parent->draws_elements && win32::IsDrawnKind(how.kind)) return AddElement(*parent, control, box, text, how);
  if (!InitCommonControlsOnce() || !win32::RegisterOwnControlClasses()) return kNoControl;
  const Box place = ScaledBox(box, parent->dpi);
  HWND handle = CreateWindowExA(0, how.window_class, text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | how.style, place.x, place.y,
                                place.width, place.height, parent->handle,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control)), win32::Instance(), nullptr);
  if (!handle) return kNoControl;
  ControlRecord record;
  record.handle = handle;
  record.kind = how.kind;
  record.box = box;
  if (ShowsText(how.kind)) {
    record.font = g_creation_font;
    SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(win32::FontHandle(record.font, parent->dpi)), FALSE);
  }
  parent->controls[control] = record;
  return control;
}

HWND Handle(int window, int control) { return win32::ControlHandle(window, control); }

Element* Drawn(int window, int control) { return win32::DrawnElement(window, control); }

void RepaintDrawn(int window, const Element& element) {
  if (const WindowRecord* parent = FindWindowRecord(window)) win32::RepaintElement(*parent, element);
}

int ImageSide(int image, bool width) {
  int w = 16, h = 16;
  if (HasImage(image)) ImageSize(image, &w, &h);
  return width ? w : h;
}

}  // namespace

int AddText(int window, int control, Box box, const std::string& text, int font) {
  int number = Create(window, control, box, text,
                      {ControlKind::Text, "STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, ElementKind::Text});
  if (number != kNoControl && font != kDefaultFont) SetFont(window, number, font);
  return number;
}

int AddImage(int window, int control, Box box, int image) {
  int number = Create(window, control, box, "", {ControlKind::Image, win32::kImageClass, 0, ElementKind::Picture});
  if (number != kNoControl) SetImage(window, number, image);
  return number;
}

int AddIconHandle(int window, int control, Box box, std::uintptr_t icon) {
  int number = Create(window, control, box, "", {ControlKind::Image, win32::kImageClass, 0, ElementKind::Picture});
  if (number == kNoControl) return kNoControl;
  if (Element* element = Drawn(window, number)) {
    element->icon = icon;
  } else {
    win32::SetShownIconHandle(Handle(window, number), reinterpret_cast<HICON>(icon));
  }
  return number;
}

int AddIconButton(int window, int control, int x, int y, int image) {
  Box box = {x, y, ImageSide(image, true), ImageSide(image, false)};
  int number = Create(window, control, box, "",
                      {ControlKind::IconButton, win32::kIconButtonClass, 0, ElementKind::IconButton});
  if (number != kNoControl) SetImage(window, number, image);
  return number;
}

int AddLink(int window, int control, Box box, const std::string& text, int font, Rgb hover) {
  int number = Create(window, control, box, text, {ControlKind::Link, win32::kLinkClass, 0, ElementKind::Link});
  if (number == kNoControl) return kNoControl;
  if (Element* element = Drawn(window, number)) {
    element->hover = hover;
  } else {
    win32::SetLinkHoverColour(Handle(window, number), hover);
  }
  if (font != kDefaultFont) SetFont(window, number, font);
  return number;
}

int AddButton(int window, int control, Box box, const std::string& text) {
  return Create(window, control, box, text, {ControlKind::Button, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP});
}

int AddCheckBox(int window, int control, Box box, const std::string& text, bool checked) {
  int number = Create(window, control, box, text, {ControlKind::CheckBox, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP});
  if (number != kNoControl) SetChecked(window, number, checked);
  return number;
}

int AddSlider(int window, int control, Box box, int minimum, int maximum, int value) {
  int number = Create(window, control, box, "", {ControlKind::Slider, TRACKBAR_CLASSA, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP});
  if (number == kNoControl) return kNoControl;
  SendMessageA(Handle(window, number), TBM_SETRANGEMIN, FALSE, minimum);
  SendMessageA(Handle(window, number), TBM_SETRANGEMAX, FALSE, maximum);
  SetSliderValue(window, number, value);
  return number;
}

int AddDropDown(int window, int control, Box box, const std::vector<std::string>& items) {
  int number = Create(window, control, box, "",
                      {ControlKind::DropDown, "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP});
  if (number != kNoControl) SetDropDownItems(window, number, items);
  return number;
}

int AddGroupBox(int window, int control, Box box, const std::string& text) {
  int number = Create(window, control, box, text, {ControlKind::GroupBox, "BUTTON", BS_GROUPBOX});
  if (number == kNoControl) return kNoControl;
  // The controls inside a group box lie under it (created later); a transparent sibling does
  // not clip them away.
  HWND handle = Handle(window, number);
  SetWindowLongA(handle, GWL_EXSTYLE, GetWindowLongA(handle, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
  return number;
}

int AddContainer(int window, int control, Box box, Rgb colour) {
  int number = Create(window, control, box, "", {ControlKind::Container, "STATIC", SS_LEFT, ElementKind::Container});
  if (number != kNoControl) SetColours(window, number, {colour, colour, false});
  return number;
}

int AddImageButton(int window, int control, Box box, int image) {
  int number = Create(window, control, box, "",
                      {ControlKind::IconButton, win32::kIconButtonClass, 0, ElementKind::ImageButton});
  if (number != kNoControl) SetImage(window, number, image);
  return number;
}

void SetCreationFont(int font) { g_creation_font = font; }

bool ControlExists(int window, int control) {
  return FindControl(window, control) != nullptr || Drawn(window, control) != nullptr;
}

void RemoveControl(int window, int control) {
  WindowRecord* parent = FindWindowRecord(window);
  if (Element* element = Drawn(window, control)) {
    if (!element->tooltip.empty() && parent->tooltips) {
      TOOLINFOA tool = {};
      tool.cbSize = sizeof tool;
      tool.hwnd = parent->handle;
      tool.uId = static_cast<UINT_PTR>(control);
      SendMessageA(parent->tooltips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    RepaintDrawn(window, *element);
    RemoveElement(parent->elements, control);
    return;
  }
  ControlRecord* record = FindControl(window, control);
  if (!parent || !record) return;
  DestroyWindow(record->handle);
  if (record->background_brush) DeleteObject(record->background_brush);
  parent->controls.erase(control);
}

void SetTooltip(int window, int control, const std::string& text) {
  WindowRecord* parent = FindWindowRecord(window);
  if (Element* element = Drawn(window, control)) {
    win32::SetElementTooltip(*parent, *element, text);
    return;
  }
  ControlRecord* record = FindControl(window, control);
  if (!parent || !record) return;
  HWND handle = record->handle;
  HWND tips = win32::TooltipsOf(*parent);
  if (!tips) return;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  // The runtime's own controls pass their mouse messages to the tooltips themselves, which
  // spares a subclass per control (menus hold hundreds of links).
  tool.uFlags = TTF_IDISHWND | (record->kind == ControlKind::Link || record->kind == ControlKind::IconButton
                                    ? 0
                                    : TTF_SUBCLASS);
  tool.hwnd = parent->handle;
  tool.uId = reinterpret_cast<UINT_PTR>(handle);
  tool.lpszText = const_cast<char*>(text.c_str());
  if (record->has_tooltip) {
    SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    record->has_tooltip = SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
  }
}

void SetText(int window, int control, const std::string& text) {
  if (Element* element = Drawn(window, control)) {
    element->text = text;
    RepaintDrawn(window, *element);
  } else if (HWND handle = Handle(window, control)) {
    SetWindowTextA(handle, text.c_str());
  }
}

std::string Text(int window, int control) {
  if (const Element* element = Drawn(window, control)) return element->text;
  HWND handle = Handle(window, control);
  if (!handle) return "";
  std::string text(static_cast<size_t>(GetWindowTextLengthA(handle)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(handle, &text[0], static_cast<int>(text.size()))));
  return text;
}

void SetImage(int window, int control, int image) {
  if (Element* element = Drawn(window, control)) {
    element->image = image;
    element->icon = 0;
    RepaintDrawn(window, *element);
  } else if (HWND handle = Handle(window, control)) {
    win32::SetShownImage(handle, image);
  }
}

void SetColours(int window, int control, TextColours colours) {
  if (Element* element = Drawn(window, control)) {
    element->has_colours = true;
    element->colours = colours;
    RepaintDrawn(window, *element);
    return;
  }
  ControlRecord* record = FindControl(window, control);
  if (!record) return;
  record->has_colours = true;
  record->colours = colours;
  if (record->background_brush) DeleteObject(record->background_brush);
  record->background_brush = nullptr;
  InvalidateRect(record->handle, nullptr, TRUE);
}

void SetFont(int window, int control, int font) {
  if (Element* element = Drawn(window, control)) {
    element->font = font;
    RepaintDrawn(window, *element);
    return;
  }
  WindowRecord* parent = FindWindowRecord(window);
  ControlRecord* record = FindControl(window, control);
  if (!parent || !record) return;
  record->font = font;
  SendMessageA(record->handle, WM_SETFONT, reinterpret_cast<WPARAM>(win32::FontHandle(font, parent->dpi)), TRUE);
}

void SetTextCentred(int window, int control) {
  if (Drawn(window, control)) {
    SetTextLook(window, control, TextAlign::Centre, TextEdge::Border);
    return;
  }
  HWND handle = Handle(window, control);
  if (!handle) return;
  LONG style = GetWindowLongA(handle, GWL_STYLE);
  style = (style & ~(SS_TYPEMASK)) | SS_CENTER | WS_BORDER;
  SetWindowLongA(handle, GWL_STYLE, style);
  SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void SetTextLook(int window, int control, TextAlign align, TextEdge edge) {
  if (Element* element = Drawn(window, control)) {
    element->align = align;
    element->edge = edge;
    RepaintDrawn(window, *element);
    return;
  }
  HWND handle = Handle(window, control);
  if (!handle) return;
  const LONG alignment = align == TextAlign::Centre ? SS_CENTER : align == TextAlign::Right ? SS_RIGHT : SS_LEFTNOWORDWRAP;
  LONG style = (GetWindowLongA(handle, GWL_STYLE) & ~(SS_TYPEMASK | WS_BORDER)) | alignment;
  if (edge == TextEdge::Border) style |= WS_BORDER;
  LONG extended = GetWindowLongA(handle, GWL_EXSTYLE) & ~WS_EX_STATICEDGE;
  if (edge == TextEdge::Sunken) extended |= WS_EX_STATICEDGE;
  SetWindowLongA(handle, GWL_STYLE, style);
  SetWindowLongA(handle, GWL_EXSTYLE, extended);
  SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  InvalidateRect(handle, nullptr, TRUE);
}

void Enable(int window, int control, bool enabled) {
  if (Element* element = Drawn(window, control)) {
    element->enabled = enabled;
    RepaintDrawn(window, *element);
  } else if (HWND handle = Handle(window, control)) {
    EnableWindow(handle, enabled);
  }
}

bool IsChecked(int window, int control) {
  HWND handle = Handle(window, control);
  return handle && SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(int window, int control, bool checked) {
  if (HWND handle = Handle(window, control))
    SendMessageA(handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int SliderValue(int window, int control) {
  HWND handle = Handle(window, control);
  return handle ? static_cast<int>(SendMessageA(handle, TBM_GETPOS, 0, 0)) : 0;
}

void SetSliderValue(int window, int control, int value) {
  if (HWND handle = Handle(window, control)) SendMessageA(handle, TBM_SETPOS, TRUE, value);
}

int DropDownSelection(int window, int control) {
  HWND handle = Handle(window, control);
  return handle ? static_cast<int>(SendMessageA(handle, CB_GETCURSEL, 0, 0)) : -1;
}

void SetDropDownItems(int window, int control, const std::vector<std::string>& items) {
  HWND handle = Handle(window, control);
  if (!handle) return;
  SendMessageA(handle, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageA(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void SetDropDownSelection(int window, int control, int index) {
  if (HWND handle = Handle(window, control)) SendMessageA(handle, CB_SETCURSEL, index, 0);
}

namespace win32 {

void LayOutControls(WindowRecord& window) {
  if (window.draws_elements) LayOutElements(window);
  for (auto& [number, control] : window.controls) {
    const Box place = ScaledBox(control.box, window.dpi);
    SetWindowPos(control.handle, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.font != kNoFont) {
      SendMessageA(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(control.font, window.dpi)), TRUE);
    }
  }
}

}  // namespace win32
}  // namespace ui
