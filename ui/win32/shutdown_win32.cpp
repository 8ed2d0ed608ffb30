#include <vector>

#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace ui {

void ShutDown() {
  std::vector<int> numbers;
  for (const auto& [number, record] : win32::Windows()) numbers.push_back(number);
  for (int number : numbers) CloseWindow(number);
  DestroyRetiredWindows();
  win32::ReleasePopupMenus();
  win32::ReleaseImages();
  win32::ReleaseFonts();
}

}  // namespace ui
