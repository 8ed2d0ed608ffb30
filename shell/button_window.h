#pragma once
// The button window in the screen's top-left corner and its popup menu.

namespace shell {

constexpr int kButtonWindow = 0;
constexpr int kPopupMenu = 1;
// Items of the popup menu.
constexpr int kItemHelp = 2;
constexpr int kItemWebsite = 3;
constexpr int kItemAbout = 5;
constexpr int kItemQuit = 6;

constexpr int kButtonImageControl = 0;
constexpr char kButtonWindowTitle[] = "Kestrivalume";
constexpr char kVersionText[] = "Version 1.12.06.05";
constexpr char kHelpDocument[] = "Kestrivalume.pdf";
constexpr char kWebsite[] = "https://kestrivalume.varnholtiqa.example/";

// Window 0 at (0, 0), 16 x 16, topmost, translucent when the settings say so, showing the
// program's emblem; and popup menu 1. Without the window nothing else is created.
void CreateButtonWindow();

// Back to the primary monitor's top-left corner and on top of every window (after the screen
// changed or the taskbar was made anew), without taking the focus.
void KeepButtonWindowInCorner();

// Popup menu 1 at the pointer, owned by the button window.
void ShowButtonPopupMenu();

// Items 2 (help document), 3 (web page) and 5 (About box).
void RunPopupMenuItem(int item);

// The About box text: title, version and the maker's notice, separated by empty lines.
const char* AboutText();

}  // namespace shell
