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
// Shows the menu at the mouse pointer, owned by the given window.
void ShowPopupMenu(int number, int owner_window);

}  // namespace ui
