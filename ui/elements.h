#pragma once
// The controls a window draws itself (texts, links, pictures, icon and image buttons, plain
// rectangles): one list per window, in creation order, and the few rules over it that do not
// depend on how they are painted: which element the pointer is over, which one is hot, and what
// a screen reader is told about each. The Windows side paints the list and answers the reader.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

enum class ElementKind { Text, Link, Picture, IconButton, ImageButton, Container };

struct Element {
  int number = 0;
  ElementKind kind = ElementKind::Text;
  Box box;  // 96-DPI units, as the program placed it
  std::string text;
  std::string tooltip;
  int font = kDefaultFont;
  bool has_colours = false;
  TextColours colours;
  Rgb hover = 0;  // a link's text colour while it is hot
  TextAlign align = TextAlign::Left;
  TextEdge edge = TextEdge::None;
  bool enabled = true;
  int image = -1;             // a stored image, or -1
  std::uintptr_t icon = 0;    // an icon handle owned elsewhere, or 0
};

struct ElementList {
  std::vector<Element> items;  // creation order: the order they are painted and read in
  int hot = kNoControl;        // the link drawn in its hover colour
};

Element* FindElement(ElementList& list, int number);
const Element* FindElement(const ElementList& list, int number);
void RemoveElement(ElementList& list, int number);

// The element that takes a click at a point of the window (pixels of a window drawn at `dpi`):
// links and buttons; texts, pictures and rectangles let it through to the window, as static
// controls do. kNoControl when none.
int ClickableAt(const ElementList& list, int x, int y, int dpi);
bool ReportsClicks(ElementKind kind);

// The hover rule. A move of the pointer to (x, y): the link under it becomes hot at once, the
// one hot before (if another) is cleared. True when the hot element changed.
bool HoverMove(ElementList& list, int x, int y, int dpi);
// The periodic check: the hot link is cleared when the pointer has left it or the window is
// disabled. True when it was cleared.
bool HoverCheck(ElementList& list, bool pointer_known, int x, int y, int dpi, bool window_enabled);

// --- what a screen reader is told ---------------------------------------------------------------

enum class ReaderRole { StaticText, Link, Graphic, PushButton };

// Whether the element is a child of its window for a screen reader: texts with a text, links,
// buttons, and pictures that have something to say (a tooltip). A row's icon and a separator
// say nothing of their own and are not.
bool ReadByScreenReaders(const Element& element);
ReaderRole RoleOf(const Element& element);
// Its text; for a button or picture its tooltip.
std::string ReaderName(const Element& element);

// Child ids of the accessible object: an element's number + 1 (0 is the window itself).
constexpr long kSelfChild = 0;
inline long ChildIdOf(int number) { return static_cast<long>(number) + 1; }
inline int NumberOfChild(long child) { return static_cast<int>(child - 1); }

// The reader's children in order.
std::vector<int> ReaderChildren(const ElementList& list);
// A reader child of the window by its id, or null (an id of no element, or of one not read).
const Element* ReaderChild(const ElementList& list, long child);

enum class Direction { First, Last, Next, Previous };
// Navigation among the reader's children: the first or last child, or the one after or before
// `from`. kNoControl when there is none.
int Navigate(const ElementList& list, Direction direction, int from = kNoControl);

// The reader child under a point of the window (pixels at `dpi`), clickable or not; kNoControl.
int ReaderChildAt(const ElementList& list, int x, int y, int dpi);

}  // namespace ui
