#include "settings_window/general_page.h"

#include "platform/location_marker.h"
#include "settings/numbers.h"
#include "settings/usage_lists.h"
#include "settings_window/preview_window.h"
#include "settings_window/settings_controls.h"
#include "settings_window/transparency_percent.h"
#include "ui/controls.h"
#include "ui/message_box.h"

KV_MARKED_FILE(603);

namespace settings_window {

namespace {

constexpr int kColumnWidthMinimum = 150, kColumnWidthMaximum = 300;
constexpr int kPercentMinimum = 0, kPercentMaximum = 50;

// Whether slider 50 was moved since the window opened: until then the opacity is kept, as
// the percentage shown cannot express every value (200 would come back as 202).
bool g_transparency_moved = false;

settings::Flag AsFlag(bool checked) { return checked ? 1 : 0; }

void AddCheckBox(int control, ui::Box box, const char* text, settings::Flag flag) {
  ui::AddCheckBox(kSettingsWindow, control, box, text, flag != 0);
}

void AddValueText(int control, ui::Box box, std::int64_t value) {
  ui::AddText(kSettingsWindow, control, box, settings::FormatNumber(value));
  ui::SetTextLook(kSettingsWindow, control, ui::TextAlign::Centre, ui::TextEdge::Sunken);
}

void AddGeneralOptions(const settings::Settings& options) {
  ui::AddGroupBox(kSettingsWindow, kGeneralGroup, {10, 10, 336, 191}, "Général");
  AddCheckBox(kLoadOnWindowsStartBox, {20, 33, 320, 18}, "Lancer automatiquement au démarrage de Windows",
              options.LoadOnWindowsStart);
  AddCheckBox(kNoMouseClickNeededBox, {20, 56, 320, 18}, "Afficher le menu automatiquement sans cliquer sur l'icône",
              options.NoMouseClickNeeded);
  AddCheckBox(kShowLinkToolTipsBox, {20, 79, 320, 18},
              "Afficher les info-bulles en fournissant plus d'information sur le lien", options.ShowLinkToolTips);
  AddCheckBox(kShowActiveTasksBox, {20, 106, 250, 18}, "Afficher les 'programmes en cours d'exécution'",
              options.ShowActiveTasks);
  AddCheckBox(kShowMostUsedBox, {20, 129, 250, 18}, "Afficher 'Programmes les plus utilisés'", options.ShowMostUsed);
  ui::AddButton(kSettingsWindow, kClearMostUsedButton, {275, 128, 60, 20}, "Effacer");
  AddCheckBox(kShowLastUsedBox, {20, 152, 250, 18}, "Afficher 'Programmes récents'", options.ShowLastUsed);
  ui::AddButton(kSettingsWindow, kClearLastUsedButton, {275, 151, 60, 20}, "Effacer");
  ui::AddText(kSettingsWindow, kRecentDocumentsText, {20, 177, 250, 18}, "'Documents récents' selon Windows");
  ui::AddButton(kSettingsWindow, kClearRecentDocumentsButton, {275, 174, 60, 20}, "Effacer");
}

void AddDisplayOptions(const settings::Settings& options) {
  ui::AddGroupBox(kSettingsWindow, kDisplayGroup, {10, 206, 336, 300}, "Afficher");
  ui::AddText(kSettingsWindow, kColumnWidthText, {20, 234, 250, 18}, "Largeur de la colonne  (190 pixels par défaut)");
  AddValueText(kColumnWidthValue, {275, 232, 60, 18}, options.DisplayColumnWidth);
  ui::AddSlider(kSettingsWindow, kColumnWidthSlider, {15, 252, 326, 18}, kColumnWidthMinimum, kColumnWidthMaximum,
                options.DisplayColumnWidth);
  ui::AddText(kSettingsWindow, kTransparencyText, {20, 285, 250, 18}, "Transparence  (10 % par défaut)");
  const std::int64_t percent = PercentShown(options.Transparency);
  AddValueText(kTransparencyValue, {275, 283, 60, 18}, percent);
  // A value outside the range is shown as it is while the slider sits at the nearest end.
  const int position = static_cast<int>(percent < kPercentMinimum ? kPercentMinimum
                                        : percent > kPercentMaximum ? kPercentMaximum
                                                                    : percent);
  ui::AddSlider(kSettingsWindow, kTransparencySlider, {15, 303, 326, 18}, kPercentMinimum, kPercentMaximum, position);
  ui::AddText(kSettingsWindow, kLookText, {20, 341, 315, 18}, "Apparence (Standard ou Skin sélectionné)");
  ui::AddDropDown(kSettingsWindow, kSkinList, {20, 360, 315, 20}, {});
  ui::AddImageButton(kSettingsWindow, kSkinPreview, {20, 390, kSkinPreviewWidth, kSkinPreviewHeight}, -1);
}

bool Confirmed(const char* question) {
  return ui::ShowMessage("Information", question, ui::Buttons::YesNo, ui::Mark::Question, kSettingsWindow) ==
         ui::Answer::Yes;
}

std::int64_t ValueOf(int control) { return settings::ParseNumber(ui::Text(kSettingsWindow, control)); }

}  // namespace

void AddGeneralPage() {
  KV_MARK();
  g_transparency_moved = false;
  const settings::Settings& options = settings::Current();
  AddGeneralOptions(options);
  AddDisplayOptions(options);
}

void OnColumnWidthMoved() {
  const int width = ui::SliderValue(kSettingsWindow, kColumnWidthSlider);
  ui::SetText(kSettingsWindow, kColumnWidthValue, settings::FormatNumber(width));
}

void OnTransparencyMoved() {
  g_transparency_moved = true;
  const int percent = ui::SliderValue(kSettingsWindow, kTransparencySlider);
  ui::SetText(kSettingsWindow, kTransparencyValue, settings::FormatNumber(percent));
  SetPreviewOpacity(static_cast<int>(OpacityOfPercent(ValueOf(kTransparencyValue))));
}

void OnClearButton(int control) {
  KV_MARK();
  if (control == kClearMostUsedButton) {
    if (Confirmed("Supprimer toutes les entrées de 'Les plus utilisés'?")) settings::ClearMostUsed();
  } else if (control == kClearLastUsedButton) {
    if (Confirmed("Supprimer toutes les entrées de 'Les derniers utilisés'?")) settings::ClearLastUsed();
  } else if (control == kClearRecentDocumentsButton) {
    if (Confirmed("Supprimer toutes les entrées de 'Documents récents' selon Windows?"))
      settings::ClearWindowsRecentDocuments();
  }
}

void ReadGeneralPage(settings::Settings& options) {
  options.LoadOnWindowsStart = AsFlag(ui::IsChecked(kSettingsWindow, kLoadOnWindowsStartBox));
  options.NoMouseClickNeeded = AsFlag(ui::IsChecked(kSettingsWindow, kNoMouseClickNeededBox));
  options.ShowLinkToolTips = AsFlag(ui::IsChecked(kSettingsWindow, kShowLinkToolTipsBox));
  options.ShowActiveTasks = AsFlag(ui::IsChecked(kSettingsWindow, kShowActiveTasksBox));
  options.ShowMostUsed = AsFlag(ui::IsChecked(kSettingsWindow, kShowMostUsedBox));
  options.ShowLastUsed = AsFlag(ui::IsChecked(kSettingsWindow, kShowLastUsedBox));
  options.DisplayColumnWidth = settings::ParseNumber32(ui::Text(kSettingsWindow, kColumnWidthValue));
  if (g_transparency_moved) {
    options.Transparency = static_cast<std::int32_t>(OpacityOfPercent(ValueOf(kTransparencyValue)));
  }
  options.WindowsTransparency = options.Transparency < 255 ? 1 : 0;
}

}  // namespace settings_window
