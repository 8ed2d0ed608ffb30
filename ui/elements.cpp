#include "ui/elements.h"

#include <algorithm>

#include "ui/scale.h"

namespace ui {

namespace {

bool Contains(const Element& element, int x, int y, int dpi) {
  const Box place = ScaledBox(element.box, dpi);
  return x >= place.x && x < place.x + place.width && y >= place.y && y < place.y + place.height;
}

bool IsButton(ElementKind kind) { return kind == ElementKind::IconButton || kind == ElementKind::ImageButton; }

}  // namespace

Element* FindElement(ElementList& list, int number) {
  for (Element& element : list.items) {
    if (element.number == number) return &element;
  }
  return nullptr;
}

const Element* FindElement(const ElementList& list, int number) {
  for (const Element& element : list.items) {
    if (element.number == number) return &element;
  }
  return nullptr;
}

void RemoveElement(ElementList& list, int number) {
  list.items.erase(std::remove_if(list.items.begin(), list.items.end(),
                                  [number](const Element& element) { return element.number == number; }),
                   list.items.end());
  if (list.hot == number) list.hot = kNoControl;
}

bool ReportsClicks(ElementKind kind) { return kind == ElementKind::Link || IsButton(kind); }

// The first created wins where boxes overlap, as the first created child window lay on top.
int ClickableAt(const ElementList& list, int x, int y, int dpi) {
  for (const Element& element : list.items) {
    if (ReportsClicks(element.kind) && Contains(element, x, y, dpi)) return element.number;
  }
  return kNoControl;
}

bool HoverMove(ElementList& list, int x, int y, int dpi) {
  const int under = ClickableAt(list, x, y, dpi);
  const Element* element = under == kNoControl ? nullptr : FindElement(list, under);
  if (!element || element->kind != ElementKind::Link || under == list.hot) return false;
  list.hot = under;
  return true;
}

bool HoverCheck(ElementList& list, bool pointer_known, int x, int y, int dpi, bool window_enabled) {
  if (list.hot == kNoControl) return false;
  const Element* hot = FindElement(list, list.hot);
  if (hot && pointer_known && window_enabled && Contains(*hot, x, y, dpi)) return false;
  list.hot = kNoControl;
  return true;
}

bool ReadByScreenReaders(const Element& element) {
  switch (element.kind) {
    case ElementKind::Text:
      return !element.text.empty();
    case ElementKind::Link:
    case ElementKind::IconButton:
    case ElementKind::ImageButton:
      return true;
    case ElementKind::Picture:
      return !element.tooltip.empty();
    case ElementKind::Container:
      return false;
  }
  return false;
}

ReaderRole RoleOf(const Element& element) {
  switch (element.kind) {
    case ElementKind::Link:
      return ReaderRole::Link;
    case ElementKind::IconButton:
    case ElementKind::ImageButton:
      return ReaderRole::PushButton;
    case ElementKind::Picture:
      return ReaderRole::Graphic;
    default:
      return ReaderRole::StaticText;
  }
}

std::string ReaderName(const Element& element) {
  if (IsButton(element.kind) || element.kind == ElementKind::Picture) return element.tooltip;
  return element.text;
}

std::vector<int> ReaderChildren(const ElementList& list) {
  std::vector<int> children;
  for (const Element& element : list.items) {
    if (ReadByScreenReaders(element)) children.push_back(element.number);
  }
  return children;
}

const Element* ReaderChild(const ElementList& list, long child) {
  if (child <= kSelfChild || child > 0x10000) return nullptr;
  const Element* element = FindElement(list, NumberOfChild(child));
  return element && ReadByScreenReaders(*element) ? element : nullptr;
}

int Navigate(const ElementList& list, Direction direction, int from) {
  const std::vector<int> children = ReaderChildren(list);
  if (children.empty()) return kNoControl;
  if (direction == Direction::First) return children.front();
  if (direction == Direction::Last) return children.back();
  const auto at = std::find(children.begin(), children.end(), from);
  if (at == children.end()) return kNoControl;
  if (direction == Direction::Next) return at + 1 == children.end() ? kNoControl : *(at + 1);
  return at == children.begin() ? kNoControl : *(at - 1);
}

int ReaderChildAt(const ElementList& list, int x, int y, int dpi) {
  for (const Element& element : list.items) {
    if (ReadByScreenReaders(element) && Contains(element, x, y, dpi)) return element.number;
  }
  return kNoControl;
}

}  // namespace ui
