#include "menu/information_window.h"

#include "platform/environment.h"
#include "settings/settings.h"
#include "ui/controls.h"
#include "ui/font_numbers.h"
#include "ui/scale.h"
#include "ui/window.h"

namespace menu {

void ShowInformationWindow(int x, int y, const std::string& text) {
  const int dpi = ui::DpiAt(x, y);  // of the monitor the strip opens on
  y -= ui::Scaled(kInformationHeight, dpi);
  if (y < 0) y = 0;
  const int width = ui::Scaled(kInformationWidth, dpi);
  if (x + width > platform::Env().screen_right) x = platform::Env().screen_right - width;
  const settings::Settings& options = settings::Current();
  const settings::ColourSet& colours = settings::ActiveColours();
  ui::WindowShape shape;
  shape.number = kInformationWindow;
  shape.title = "Information - Kestrivalume";
  shape.x = x;
  shape.y = y;
  shape.inner_width = kInformationWidth;
  shape.inner_height = kInformationHeight;
  shape.topmost = true;
  shape.tool_window = options.WindowsTransparency != 0;
  if (!ui::OpenWindow(shape)) return;
  ui::SetBackgroundColour(kInformationWindow, colours[settings::kTooltipBackColor]);
  if (options.WindowsTransparency) ui::SetWindowAlpha(kInformationWindow, options.Transparency);
  const int label = ui::AddText(kInformationWindow, kInformationText, {0, 0, kInformationWidth, kInformationHeight},
                                text, ui::kFontInformation);
  ui::SetTextCentred(kInformationWindow, label);
  ui::SetColours(kInformationWindow, label,
                 {colours[settings::kTooltipColor], colours[settings::kTooltipBackColor], false});
  ui::ShowWindow(kInformationWindow);
  (void)ui::BringToFront(kInformationWindow);  // shown at the click: the front is the program's
}

void CloseInformationWindow() { ui::CloseWindow(kInformationWindow); }

}  // namespace menu
