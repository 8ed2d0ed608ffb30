#pragma once
// The menu and the foreground. Windows gives the foreground only to the process that received
// the last input; the menu may be shown without it (opened from the corner, or built anew while
// another program took the front). It closes when the user goes on elsewhere: when another
// window comes to the front after the menu was shown, or, while it could not take the front,
// at the next mouse press outside it.

namespace menu {

// After the menu window is shown: takes the foreground and remembers what the front was; on a
// refusal, watches for presses outside the menu.
void TakeForegroundForMenu();

// Idle work: another window has come to the front since the menu was shown. The window
// `keeps_it_open` does not count (the button window, whose popup menu takes the front while the
// menu stays), a moment without any front window neither.
bool MenuLostForeground(int keeps_it_open);

}  // namespace menu
