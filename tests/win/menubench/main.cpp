// Benchmark of the menu window under Wine (prints figures, asserts nothing): the time to build,
// show and paint the menu with a catalogue of 2,000 shortcuts in 150 groups, each with an icon
// (programs expanded, every section on) and with the default settings (programs collapsed),
// beside the bare cost of creating and painting the same number of controls in an empty
// window. Medians of repeats.
//   menubench.exe [repeats]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "menu/layout.h"
#include "menu/menu_window.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "platform/services.h"
#include "settings/settings.h"
#include "sources/catalogue.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/font_numbers.h"
#include "ui/fonts.h"
#include "ui/image_store.h"
#include "ui/scale.h"
#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace {

constexpr int kBareWindow = 9;

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void PaintNow(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Every entry with an icon of the menu's size, as the program's catalogue has them (one per
// program file).
void PublishCatalogue(int groups, int entries) {
  const int side = ui::Scaled(16, platform::Env().screen_dpi);
  HICON small_icon = static_cast<HICON>(
      LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION), IMAGE_ICON, side, side, LR_SHARED));
  const auto icon = reinterpret_cast<services::IconHandle>(small_icon);
  sources::Catalogue catalogue;
  int made = 0;
  for (int g = 0; g < groups; ++g) {
    const int count = entries / groups + (g < entries % groups ? 1 : 0);
    const std::string folder = "C:\\Menu\\Groupe " + std::to_string(g) + "\\";
    catalogue.push_back({sources::kGroupHeader, "Groupe " + std::to_string(g) + "\\", count, folder, "", "", "", 0, ""});
    for (int e = 0; e < count; ++e, ++made) {
      catalogue.push_back({sources::kProgramEntry, "Programme " + std::to_string(made) + ".lnk", 0, folder,
                           "C:\\Programmes\\p" + std::to_string(made) + ".exe", "exe", "", icon, ""});
    }
  }
  sources::PublishCatalogue(catalogue);
}

// Child windows and drawn elements: what the menu was asked to show.
int MenuControlCount() {
  const ui::win32::WindowRecord* menu = ui::win32::FindWindowRecord(menu::kMenuWindow);
  return menu ? static_cast<int>(menu->controls.size() + menu->elements.items.size()) : 0;
}

// Build, show and paint the menu; returns milliseconds.
double TimeMenuOpen(bool programs_expanded) {
  menu::CloseMenuWindow();
  ui::PumpMessages();
  const double start = Now();
  menu::View().ProgramsShown = programs_expanded;
  menu::View().DocumentsShown = settings::Current().ShowDocsImmediate != 0;
  menu::View().ProgramsPageStart.clear();
  menu::BuildMenuWindow();
  const double built = Now();
  PaintNow(menu::kMenuTitle);
  if (std::getenv("MENUBENCH_SPLIT")) {
    const double painted = Now();
    for (int i = 0; i < 20; ++i) PaintNow(menu::kMenuTitle);
    std::printf("  built %.1f ms, painted %.1f ms, painted again %.2f ms\n", built - start, painted - built,
                (Now() - painted) / 20);
  }
  return Now() - start;
}

// The same number of labels in an empty window of the same size: the floor under any build.
double TimeBareControls(int controls) {
  ui::CloseWindow(kBareWindow);
  ui::PumpMessages();
  const double start = Now();
  ui::WindowShape shape;
  shape.number = kBareWindow;
  shape.title = "Bare";
  shape.x = 16;
  shape.inner_width = 26 + 9 * 190 + 26;
  shape.inner_height = 1015;
  if (!ui::OpenWindow(shape)) return 0;
  ui::SetCreationFont(ui::kFontControl);
  for (int i = 0; i < controls; ++i) {
    ui::AddText(kBareWindow, ui::kAutoNumber, {26 + (i / 55) % 9 * 190, 5 + (i % 55) * 18, 162, 18},
                "Programme " + std::to_string(i));
  }
  ui::SetCreationFont(ui::kDefaultFont);
  ui::ShowWindow(kBareWindow);
  PaintNow("Bare");
  return Now() - start;
}

void Report(const char* what, const std::vector<double>& times) {
  std::printf("%-48s median %7.1f ms  (min %.1f, max %.1f, %zu runs)\n", what, Median(times),
              *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()),
              times.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(3, std::atoi(argv[1])) : 9;
  const services::ScreenInfo screen = services::MeasureScreen().value_or(services::ScreenInfo{1920, 1080, 32, 96});
  platform::MutableEnv().screen_right = screen.right;
  platform::MutableEnv().screen_bottom = screen.bottom;
  platform::MutableEnv().screen_depth = screen.depth;
  platform::MutableEnv().screen_dpi = screen.dpi;
  (void)ui::StoreBuiltinImages();
  (void)ui::MakeFont(ui::kFontControl, "MS Sans Serif", 9, false);
  (void)ui::MakeFont(ui::kFontLink, "MS Sans Serif", 9, false);
  (void)ui::MakeFont(ui::kFontLargeTitle, "Arial", 11, true);
  (void)ui::MakeFont(ui::kFontSmallBold, "Arial", 9, true);
  settings::ActiveColours() = {16577514, 15037716, 16777215, 16108216, 0, 0, 2105376, 8421504, 16777185, 0,
                               16777215, 16777215};
  PublishCatalogue(150, 2000);

  std::vector<double> expanded, collapsed, bare_expanded, bare_collapsed;
  int expanded_controls = 0, collapsed_controls = 0;
  for (int i = 0; i < repeats; ++i) {
    expanded.push_back(TimeMenuOpen(true));
    expanded_controls = MenuControlCount();
    bare_expanded.push_back(TimeBareControls(expanded_controls));
    collapsed.push_back(TimeMenuOpen(false));
    collapsed_controls = MenuControlCount();
    bare_collapsed.push_back(TimeBareControls(collapsed_controls));
  }
  std::printf("menu window benchmark, screen %dx%d at %d DPI, catalogue 2000 shortcuts in 150 groups\n",
              platform::Env().screen_right, platform::Env().screen_bottom, platform::Env().screen_dpi);
  Report(("programs expanded (" + std::to_string(expanded_controls) + " controls)").c_str(), expanded);
  Report("  bare creation of as many labels", bare_expanded);
  std::printf("  ratio build / bare: %.2f\n", Median(expanded) / Median(bare_expanded));
  Report(("default settings (" + std::to_string(collapsed_controls) + " controls)").c_str(), collapsed);
  Report("  bare creation of as many labels", bare_collapsed);
  std::printf("  ratio build / bare: %.2f\n", Median(collapsed) / Median(bare_collapsed));
  menu::CloseMenuWindow();
  ui::ShutDown();
  return 0;
}
