#pragma once
// Popup menus held by number; a chosen item arrives as a MenuItem event of the owner window.
#include <string>
#include <vector>

namespace ui {

struct MenuItemSpec {
  int item = 0;       // 0 makes a separator
  std::string text;   // "&" marks the access key
};

[[nodiscard]] bool CreatePopupMenu(int number, const std::vector<MenuItemSpec>& items);
// Shows the menu with its top-left corner at (x, y) on the screen, owned by the given window,
// which is made the foreground window first. Either mouse button chooses an item.
void ShowPopupMenu(int number, int owner_window, int x, int y);

}  // namespace ui
