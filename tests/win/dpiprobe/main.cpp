// Test program for high-DPI screens under Wine. It starts as the program does (same start-up,
// settings, fonts and pictures) and builds the program's own windows in its own process, where
// fonts can be measured:
//   dpiprobe.exe fit         the menu (every section), the settings window and the information
//                            strip; one line per control that shows text:
//                            "text TAB window TAB control TAB class TAB width TAB room TAB fits|clipped TAB text"
//   dpiprobe.exe move <dpi>  the settings window with some values changed, then told that it now
//                            lies on a monitor of <dpi> (as Windows does: the scaled size asked
//                            first, then the DPI change with its rectangle), the preview likewise;
//                            prints "kept" or "changed" for the values, then "ready", and runs
//                            until the settings window is closed.
// Room is the width a control's text can use: its inner width less, for check boxes, the box and
// its gap, for push buttons their edges, for group boxes the caption's indent on both sides.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "menu/information_window.h"
#include "menu/launch.h"
#include "menu/menu_controls.h"
#include "menu/menu_window.h"
#include "menu/view_state.h"
#include "platform/win32/dpi_win32.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings_window/settings_controls.h"
#include "settings_window/settings_window.h"
#include "shell/startup.h"
#include "sources/catalogue.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/scale.h"
#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace {

void PublishSmallCatalogue() {
  sources::Catalogue catalogue;
  catalogue.push_back({sources::kGroupHeader, "", 1, "C:\\Menu\\", "", "", "", 0, ""});
  catalogue.push_back({sources::kProgramEntry, "Bloc-notes.lnk", 0, "C:\\Menu\\", "C:\\windows\\notepad.exe", "exe", "", 0, ""});
  catalogue.push_back({sources::kGroupHeader, "Accessoires\\", 1, "C:\\Menu\\Accessoires\\", "", "", "", 0, ""});
  catalogue.push_back({sources::kProgramEntry, "Registre.lnk", 0, "C:\\Menu\\Accessoires\\", "C:\\windows\\regedit.exe",
                       "exe", "", 0, ""});
  sources::PublishCatalogue(catalogue);
}

std::string ClassOf(HWND control) {
  char name[64] = {};
  GetClassNameA(control, name, sizeof name);
  return name;
}

std::string TextOf(HWND control) {
  char text[512] = {};
  GetWindowTextA(control, text, sizeof text);
  return text;
}

// The width the text can use, by the kind of control; 0 for controls whose text is not ours to
// fit (sliders, lists: the system draws them).
int RoomOf(HWND control, const std::string& kind, int dpi) {
  RECT area;
  GetClientRect(control, &area);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (kind == "Static" || kind == "KestrivalumeLink") return area.right;
  if (kind != "Button") return 0;
  switch (style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
    case BS_CHECKBOX: return area.right - GetSystemMetrics(SM_CXMENUCHECK) - ui::Scaled(4, dpi);
    case BS_GROUPBOX: return area.right - 2 * ui::Scaled(8, dpi);
    default: return area.right - 2 * GetSystemMetrics(SM_CXEDGE);
  }
}

struct Walk {
  const char* window;
  int dpi;
};

BOOL CALLBACK MeasureControl(HWND control, LPARAM walk_pointer) {
  const Walk& walk = *reinterpret_cast<const Walk*>(walk_pointer);
  const std::string kind = ClassOf(control);
  const std::string text = TextOf(control);
  const int room = RoomOf(control, kind, walk.dpi);
  if (text.empty() || room <= 0) return TRUE;
  HDC dc = GetDC(control);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  std::printf("text\t%s\t%d\t%s\t%ld\t%d\t%s\t%s\n", walk.window, GetDlgCtrlID(control), kind.c_str(), extent.cx,
              room, extent.cx <= room ? "fits" : "clipped", text.c_str());
  return TRUE;
}

void PrintFit(const Walk& walk, int number, const char* kind, HFONT font, int room, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  std::printf("text\t%s\t%d\t%s\t%ld\t%d\t%s\t%s\n", walk.window, number, kind, extent.cx, room,
              extent.cx <= room ? "fits" : "clipped", text.c_str());
}

// The texts and links a window draws itself, measured with the font they are drawn in.
void MeasureElements(const Walk& walk, int window) {
  const ui::win32::WindowRecord* record = ui::win32::FindWindowRecord(window);
  if (!record) return;
  for (const ui::Element& element : record->elements.items) {
    const bool link = element.kind == ui::ElementKind::Link;
    if ((!link && element.kind != ui::ElementKind::Text) || element.text.empty()) continue;
    int room = ui::ScaledBox(element.box, walk.dpi).width;
    if (element.edge != ui::TextEdge::None) room -= 2;
    PrintFit(walk, element.number, link ? "KestrivalumeLink" : "Static", ui::win32::FontHandle(element.font, walk.dpi),
             room, element.text);
  }
}

void Measure(const char* title, const char* name, int window) {
  Walk walk = {name, ui::WindowDpi(window)};
  EnumChildWindows(FindWindowA(nullptr, title), MeasureControl, reinterpret_cast<LPARAM>(&walk));
  MeasureElements(walk, window);
}

int Fit() {
  PublishSmallCatalogue();
  menu::View().ProgramsShown = true;
  menu::View().DocumentsShown = true;
  menu::BuildMenuWindow();
  Measure(menu::kMenuTitle, "menu", menu::kMenuWindow);
  menu::CloseMenuWindow();
  menu::ShowInformationWindow(400, 400, menu::kNoLongerAvailable);
  Measure("Information - Kestrivalume", "information", menu::kInformationWindow);
  menu::CloseInformationWindow();
  settings_window::OpenSettingsWindow();
  Measure(settings_window::kSettingsTitle, "settings", settings_window::kSettingsWindow);
  Measure(settings_window::kPreviewTitle, "preview", settings_window::kPreviewWindow);
  return 0;
}

// What the user changed and must still see after the move.
std::string ShownValues() {
  using namespace settings_window;
  return std::to_string(ui::IsChecked(kSettingsWindow, kLoadOnWindowsStartBox)) + " " +
         std::to_string(ui::IsChecked(kSettingsWindow, kShowActiveTasksBox)) + " " +
         std::to_string(ui::SliderValue(kSettingsWindow, kColumnWidthSlider)) + " " +
         ui::Text(kSettingsWindow, kColumnWidthValue) + " " +
         std::to_string(ui::DropDownSelection(kSettingsWindow, kElementList));
}

// As Windows tells a window that now lies on a monitor of another DPI.
void TellDpiChange(HWND window, int dpi) {
  RECT outer;
  GetWindowRect(window, &outer);
  SIZE size = {outer.right - outer.left, outer.bottom - outer.top};
  SendMessageA(window, WM_GETDPISCALEDSIZE, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&size));
  RECT suggested = {outer.left, outer.top, outer.left + size.cx, outer.top + size.cy};
  SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

int Move(int dpi) {
  using namespace settings_window;
  OpenSettingsWindow();
  ui::SetChecked(kSettingsWindow, kLoadOnWindowsStartBox, !ui::IsChecked(kSettingsWindow, kLoadOnWindowsStartBox));
  ui::SetSliderValue(kSettingsWindow, kColumnWidthSlider, 250);
  SettingsWindowControl(kColumnWidthSlider);
  ui::SetDropDownSelection(kSettingsWindow, kElementList, 3);
  SettingsWindowControl(kElementList);
  const std::string before = ShownValues();
  TellDpiChange(FindWindowA(nullptr, kSettingsTitle), dpi);
  TellDpiChange(FindWindowA(nullptr, kPreviewTitle), dpi);
  for (ui::Event event; (event = ui::WaitEvent(0)).kind != ui::EventKind::None;) {
    if (event.kind == ui::EventKind::WindowMoved) SettingsWindowMoved(event.window);
  }
  const std::string after = ShownValues();
  std::printf("%s\t%s\t%s\n", before == after ? "kept" : "changed", before.c_str(), after.c_str());
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) {
    const ui::Event event = ui::WaitEvent(200);
    if (event.kind == ui::EventKind::WindowMoved) SettingsWindowMoved(event.window);
    if (event.kind == ui::EventKind::WindowClose && event.window == kSettingsWindow) return 0;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool fit = argc == 2 && std::strcmp(argv[1], "fit") == 0;
  const bool move = argc == 3 && std::strcmp(argv[1], "move") == 0;
  if (!fit && !move) {
    std::fprintf(stderr, "usage: dpiprobe fit | move <dpi>\n");
    return 2;
  }
  shell::ProgramHooks hooks;
  hooks.load_settings = settings::LoadSettings;
  if (shell::RunStartup(hooks) != shell::StartupOutcome::EnterLoop) return 1;
  const int result = fit ? Fit() : Move(std::atoi(argv[2]));
  std::fflush(stdout);
  shell::NormalEnd();
  return result;
}
