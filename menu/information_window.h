#pragma once
// A one-line message strip shown near the pointer (window 3); the caller closes it.
#include <string>

namespace menu {

constexpr int kInformationWindow = 3;
constexpr int kInformationText = 15;
constexpr int kInformationWidth = 300;
constexpr int kInformationHeight = 20;

// Opens window 3 above the point (x, y), kept on the screen, showing the text.
void ShowInformationWindow(int x, int y, const std::string& text);
void CloseInformationWindow();

}  // namespace menu
