#include <windows.h>

#include <map>

#include "ui/popup_menu.h"
#include "ui/win32/runtime_state.h"

namespace ui {

namespace {
std::map<int, HMENU>& Menus() {
  static std::map<int, HMENU> menus;
  return menus;
}
}  // namespace

bool CreatePopupMenu(int number, const std::vector<MenuItemSpec>& items) {
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return false;
  for (const MenuItemSpec& item : items) {
    if (item.item == 0) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.item), item.text.c_str());
    }
  }
  HMENU& slot = Menus()[number];
  if (slot) DestroyMenu(slot);
  slot = menu;
  return true;
}

void ShowPopupMenu(int number, int owner_window, int x, int y) {
  auto menu = Menus().find(number);
  win32::WindowRecord* owner = win32::FindWindowRecord(owner_window);
  if (menu == Menus().end() || !owner) return;
  // The owner must be in the foreground or the menu would not close when clicked elsewhere.
  SetForegroundWindow(owner->handle);
  TrackPopupMenu(menu->second, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner->handle, nullptr);
  PostMessageA(owner->handle, WM_NULL, 0, 0);
}

namespace win32 {
void ReleasePopupMenus() {
  for (auto& [number, menu] : Menus()) DestroyMenu(menu);
  Menus().clear();
}
}  // namespace win32
}  // namespace ui
