#pragma once
// The menu window's layout engine: columns of fixed width filled from the top, section frames,
// link rows and entry rows, all placed through the user-interface runtime.
#include <string>

#include "menu/menu_bindings.h"
#include "menu/menu_controls.h"
#include "platform/services.h"

namespace menu {

constexpr int kToolColumnWidth = 26;
constexpr int kRowHeight = 18;
constexpr int kTitleHeight = 18;
constexpr int kTitleGap = 3;
constexpr int kGroupTitleHeight = 15;
constexpr int kSectionGap = 5;
constexpr int kTop = 5;

struct LayoutCursor {
  int Left = kToolColumnWidth;
  int Column = 1;
  int MaxColumns = 0;
  int Y = kTop;
  int Bottom = 0;
  int SectionsShown = 0;
  int column_width = 0;  // DisplayColumnWidth
  int inner_height = 0;
};

// The cursor of a new build for a screen of the given height.
LayoutCursor StartLayout(int screen_width, int screen_height, int column_width);

// x origin of the current column.
int ColumnX(const LayoutCursor& cursor);
// Inner width of the window with the columns used so far (without the fixed column).
int InnerWidth(const LayoutCursor& cursor);

// Widens the window by a column, draws its separator and moves to its top.
void StartNewColumn(LayoutCursor& cursor);

// Horizontal separator and title label; returns the title's control number.
int SectionFrame(LayoutCursor& cursor, const std::string& title);

// An icon and a link for the "more" and collapsed links (fixed control numbers).
void LinkRow(LayoutCursor& cursor, int link_control, int icon_control, int image, const std::string& text);

struct EntryRow {
  services::IconHandle icon = 0;  // 0: no icon
  std::string text;
  std::string tooltip;
  MenuBinding binding;  // ControlId is filled in here
};
void AddEntryRow(LayoutCursor& cursor, EntryRow row);

// Draws a stored image as a separator when it exists.
void DrawSeparator(int x, int y, int image);

}  // namespace menu
