#include "menu/menu_focus.h"

#include <cstdint>

#include "menu/menu_controls.h"
#include "ui/window.h"

namespace menu {
namespace {

// The front window the menu was last seen under or over: the menu itself once it had the front,
// else the window that kept it.
std::uintptr_t g_shown_over = 0;

}  // namespace

void TakeForegroundForMenu() {
  const bool taken = ui::BringToFront(kMenuWindow);
  g_shown_over = ui::CurrentForeground().id;
  if (!taken) ui::WatchPressesOutside(kMenuWindow);
}

bool MenuLostForeground(int keeps_it_open) {
  const ui::Foreground front = ui::CurrentForeground();
  if (front.id == 0 || front.number == keeps_it_open) return false;
  if (front.number == kMenuWindow) {
    // The user clicked into it: from now on it holds the front like a menu that took it.
    if (g_shown_over != front.id) ui::StopWatchingPresses();
    g_shown_over = front.id;
    return false;
  }
  return front.id != g_shown_over;
}

}  // namespace menu
