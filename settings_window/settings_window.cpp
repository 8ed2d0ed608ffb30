#include "settings_window/settings_window.h"

#include "platform/location_marker.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings_window/appearance_page.h"
#include "settings_window/colour_editor.h"
#include "settings_window/general_page.h"
#include "settings_window/preview_window.h"
#include "settings_window/settings_controls.h"
#include "settings_window/skin_information.h"
#include "settings_window/skins_list.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/window.h"

KV_MARKED_FILE(605);

namespace settings_window {

namespace {

struct Placement {
  bool centred = true;
  int x = 0, y = 0;
};

void Build(Placement place) {
  KV_MARK();
  ui::WindowShape shape;
  shape.number = kSettingsWindow;
  shape.title = kSettingsTitle;
  shape.inner_width = kSettingsWidth;
  shape.inner_height = kSettingsHeight;
  shape.frame = ui::Frame::CloseBox;
  shape.centred = place.centred;
  shape.x = place.x;
  shape.y = place.y;
  if (!ui::OpenWindow(shape)) return;
  ui::SetCreationFont(ui::kDefaultFont);  // the window's own controls keep the system's font
  SelectedElement() = -1;                 // list 60 starts without a row
  AddGeneralPage();
  FillSkinList();
  AddAppearancePage();
  AddApplyAndHole();
  ui::SetWindowColourKey(kSettingsWindow, kHoleColour);
  KV_MARK();
  OpenPreviewWindow();
  ui::ReportMoves(kSettingsWindow);
  ui::ShowWindow(kSettingsWindow);
}

void OnApplyButton() {
  if (ui::ShiftWasDown()) {
    CopySkinInformation();  // for skin authors; nothing is applied
  } else {
    ApplySettingsWindow();
  }
}

}  // namespace

void OpenSettingsWindow() { Build({}); }

void OpenSettingsWindowAt(int x, int y) { Build({false, x, y}); }

void ApplySettingsWindow() {
  KV_MARK();
  // A second close request for a window already gone must not read empty controls.
  if (!ui::WindowExists(kSettingsWindow)) return;
  settings::Settings& options = settings::Current();
  ReadGeneralPage(options);
  options.SelectedSkin = ChosenSkin();
  SelectedElement() = -1;
  settings::SaveSettings();
  ClosePreviewWindow();
  ui::CloseWindow(kSettingsWindow);
  ReleaseSkinPreview();
  ui::AnswerSentMessages();
  settings::LoadSettings();
}

void RebuildSettingsWindow() {
  int x = 0, y = 0;
  ui::OuterPosition(kSettingsWindow, &x, &y);
  ApplySettingsWindow();
  OpenSettingsWindowAt(x, y);
}

void SettingsWindowControl(int control) {
  KV_MARK();
  if (!ui::WindowExists(kSettingsWindow)) return;
  switch (control) {
    case kClearMostUsedButton:
    case kClearLastUsedButton:
    case kClearRecentDocumentsButton: OnClearButton(control); return;
    case kColumnWidthSlider: OnColumnWidthMoved(); return;
    case kTransparencySlider: OnTransparencyMoved(); return;
    case kSkinList: OnSkinChosen(); return;
    case kSkinPreview: OnSkinPreviewClicked(); return;
    case kElementList: OnElementChosen(); return;
    case kHueSlider:
    case kSaturationSlider:
    case kLightnessSlider: OnHslMoved(control); return;
    case kRedSlider:
    case kGreenSlider:
    case kBlueSlider: OnRgbMoved(control); return;
    case kColourDialogButton: OnColourDialog(); return;
    case kStandardColoursButton: OnStandardColours(); return;
    case kBackgroundFileButton: OnBackgroundFile(); return;
    case kBackgroundDesktopButton: OnBackgroundDesktop(); return;
    case kBackgroundNoneButton: OnBackgroundNone(); return;
    case kApplyButton: OnApplyButton(); return;
  }
}

void SettingsWindowMoved(int window) {
  if (window == kSettingsWindow) PlacePreviewWindow();
}

}  // namespace settings_window
